# The cab view's tests draw with Qt on the offscreen platform, over the quick demo's pictures and
# route movie (made by the fixture of the scenario tests).
find_package(Qt6 REQUIRED COMPONENTS Test)
target_link_libraries(${target} PRIVATE kestrel_platform_ffmpeg Qt6::Test)
target_compile_definitions(${target} PRIVATE KESTREL_QUICK_DEMO_DIR="${CMAKE_BINARY_DIR}/quick-demo")
add_dependencies(${target} kestrel-make-demo)
list(APPEND area_test_properties FIXTURES_REQUIRED quick_demo)
