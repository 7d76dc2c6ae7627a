# The OpenAL tests run the mixer in processes of their own where a configuration or the written
# sound matters (see script/openal_mixer_script.cpp); the tone checks measure with sox.
add_executable(openal_mixer_script ${dir}/script/openal_mixer_script.cpp)
target_link_libraries(openal_mixer_script PRIVATE kestrel_platform_openal kestrel_options)
add_dependencies(${target} openal_mixer_script)
target_compile_definitions(${target} PRIVATE KESTREL_OPENAL_SCRIPT="$<TARGET_FILE:openal_mixer_script>")
