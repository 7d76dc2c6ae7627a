# The cab display's end-to-end tests show the cab view in a window under Xvfb, driven by a harness
# program of their own (harness/cab_harness.cpp: the view on a drive that sets its own speed); the
# display benchmark (bench/display/) runs the same harness. Their content is the quick demo.
add_executable(kestrel-cab-harness ${dir}/harness/cab_harness.cpp)
target_link_libraries(kestrel-cab-harness PRIVATE kestrel_platform_qt kestrel_platform_ffmpeg kestrel_options)
add_dependencies(${target} kestrel-cab-harness kestrel-make-demo)
target_link_libraries(${target} PRIVATE kestrel_platform_qt kestrel_platform_ffmpeg)
target_compile_definitions(${target} PRIVATE KESTREL_CAB_HARNESS="$<TARGET_FILE:kestrel-cab-harness>"
                                             KESTREL_QUICK_DEMO_DIR="${CMAKE_BINARY_DIR}/quick-demo")
list(APPEND area_test_properties FIXTURES_REQUIRED quick_demo TIMEOUT 300)
