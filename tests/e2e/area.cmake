# The desktop program under Xvfb: the test starts its own X server on a free display, drives the
# program with xdotool, closes windows with WM_DELETE_WINDOW through Xlib, and takes screenshots
# with ImageMagick's import. It needs the quick demo content of tests/tools.
find_package(X11 REQUIRED)
target_link_libraries(${target} PRIVATE X11::X11)
add_dependencies(${target} kestrel)
target_compile_definitions(${target} PRIVATE KESTREL_DESKTOP="$<TARGET_FILE:kestrel>"
                                             KESTREL_QUICK_DEMO_DIR="${CMAKE_BINARY_DIR}/quick-demo")
list(APPEND area_test_properties FIXTURES_REQUIRED quick_demo TIMEOUT 300 RUN_SERIAL TRUE)
