# The quick demo content: made at build time (cmake/KestrelDemo.cmake), read by the scenario tests.
add_dependencies(${target} kestrel_quick_demo)
target_compile_definitions(${target} PRIVATE KESTREL_QUICK_DEMO_DIR="${KESTREL_QUICK_DEMO_DIR}"
                                             KESTREL_MAKE_DEMO="$<TARGET_FILE:kestrel-make-demo>")
find_package(Qt6 REQUIRED COMPONENTS Gui)
target_link_libraries(${target} PRIVATE Qt6::Gui)
add_dependencies(${target} kestrel-make-demo)

# Every line x train pair of the quick demo must load; added as soon as the runner exists.
if(TARGET kestrel-run)
  add_test(NAME quick_demo_check_all_pairs
           COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/check_pairs.sh $<TARGET_FILE:kestrel-run> ${KESTREL_QUICK_DEMO_DIR})
  set_tests_properties(quick_demo_check_all_pairs PROPERTIES LABELS scenario TIMEOUT 300)
endif()

# The tool's route model and filming run are plain C++: tested directly as well.
target_sources(${target} PRIVATE ${PROJECT_SOURCE_DIR}/src/tools/make_demo/route.cpp
                                 ${PROJECT_SOURCE_DIR}/src/tools/make_demo/filming.cpp
                                 ${PROJECT_SOURCE_DIR}/src/tools/make_demo/services.cpp)
# The movie reader decodes the stop frames of the route movie.
target_link_libraries(${target} PRIVATE kestrel_platform_ffmpeg)

# The scenario tests run the tools as programs; they find them through these definitions.
if(TARGET kestrel-run)
  add_dependencies(${target} kestrel-run)
  target_compile_definitions(${target} PRIVATE KESTREL_RUN="$<TARGET_FILE:kestrel-run>")
  find_package(nlohmann_json 3 REQUIRED)
  target_link_libraries(${target} PRIVATE nlohmann_json::nlohmann_json)
  # The run curves' SVG is read as XML.
  find_package(pugixml REQUIRED)
  target_link_libraries(${target} PRIVATE pugixml::pugixml)
endif()

# The runner's trace writer and drive loop are plain C++: tested directly too.
target_sources(${target} PRIVATE ${PROJECT_SOURCE_DIR}/src/tools/run/trace_writer.cpp
                                 ${PROJECT_SOURCE_DIR}/src/tools/run/drive_runner.cpp
                                 ${PROJECT_SOURCE_DIR}/src/tools/run/sound_log.cpp)

# Under the sanitizers the tools' runs take the leak suppressions of the libraries they draw with.
if(KESTREL_SANITIZE)
  list(APPEND area_test_properties ENVIRONMENT "LSAN_OPTIONS=suppressions=${CMAKE_CURRENT_LIST_DIR}/lsan.supp:print_suppressions=0")
endif()

# The soak drives load the demo's pictures as kestrel-run does, so that a failing script replays
# there exactly.
target_link_libraries(${target} PRIVATE kestrel_platform_qt)

# kestrel-author's commands are a library; the tests make their GPS tracks with GeographicLib.
if(TARGET kestrel_author_lib)
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(TEST_GEOGRAPHICLIB REQUIRED IMPORTED_TARGET geographiclib)
  target_link_libraries(${target} PRIVATE kestrel_author_lib PkgConfig::TEST_GEOGRAPHICLIB)
  add_dependencies(${target} kestrel-author)
  target_compile_definitions(${target} PRIVATE KESTREL_AUTHOR="$<TARGET_FILE:kestrel-author>")
endif()

# kestrel-check runs as a program in its tests.
if(TARGET kestrel-check)
  add_dependencies(${target} kestrel-check)
  target_compile_definitions(${target} PRIVATE KESTREL_CHECK="$<TARGET_FILE:kestrel-check>")
endif()
if(TARGET kestrel_check_lib)
  target_link_libraries(${target} PRIVATE kestrel_check_lib)
endif()
