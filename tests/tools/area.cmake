# The scenario tests run the tools as programs; they find them through these definitions.
if(TARGET kestrel-run)
  add_dependencies(${target} kestrel-run)
  target_compile_definitions(${target} PRIVATE KESTREL_RUN="$<TARGET_FILE:kestrel-run>")
  find_package(nlohmann_json 3 REQUIRED)
  target_link_libraries(${target} PRIVATE nlohmann_json::nlohmann_json)
endif()
