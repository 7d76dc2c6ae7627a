# The desktop program under Xvfb: the test starts its own X server on a free display, drives the
# program with xdotool, closes windows with WM_DELETE_WINDOW through Xlib, and takes screenshots
# with ImageMagick's import. It needs the quick demo content (made at build time).
find_package(X11 REQUIRED)
target_link_libraries(${target} PRIVATE X11::X11)
add_dependencies(${target} kestrel kestrel-run kestrel_quick_demo)
target_compile_definitions(${target} PRIVATE KESTREL_DESKTOP="$<TARGET_FILE:kestrel>" KESTREL_RUN="$<TARGET_FILE:kestrel-run>"
                                             KESTREL_QUICK_DEMO_DIR="${KESTREL_QUICK_DEMO_DIR}")
list(APPEND area_test_properties TIMEOUT 300 RUN_SERIAL TRUE)

# The cab display's tests also show the cab view through a harness of their own
# (harness/cab_harness.cpp: the view on a drive that sets its own speed), and check the pictures
# against the route movie and the panel pictures; the display benchmark (bench/display/) runs the
# same harness.
add_executable(kestrel-cab-harness ${dir}/harness/cab_harness.cpp)
target_link_libraries(kestrel-cab-harness PRIVATE kestrel_platform_qt kestrel_platform_ffmpeg kestrel_options)
# The harness times the render step through a forwarding reader kept with the tests' support.
target_include_directories(kestrel-cab-harness PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
add_dependencies(${target} kestrel-cab-harness kestrel-make-demo)
target_link_libraries(${target} PRIVATE kestrel_platform_qt kestrel_platform_ffmpeg)
target_compile_definitions(${target} PRIVATE KESTREL_CAB_HARNESS="$<TARGET_FILE:kestrel-cab-harness>")
