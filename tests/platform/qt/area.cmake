# The cab view's tests draw with Qt on the offscreen platform, over the quick demo's pictures and
# route movie (made at build time, cmake/KestrelDemo.cmake).
find_package(Qt6 REQUIRED COMPONENTS Test)
target_link_libraries(${target} PRIVATE kestrel_platform_ffmpeg Qt6::Test)
target_compile_definitions(${target} PRIVATE KESTREL_QUICK_DEMO_DIR="${KESTREL_QUICK_DEMO_DIR}")
add_dependencies(${target} kestrel_quick_demo)
