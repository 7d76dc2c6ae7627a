# The demo content, written at build time by kestrel-make-demo into the build tree: the quick
# demo whenever the tests are built (they read it) or it is the one installed, the full demo when
# it is the one installed. Each is made again only when the tool changed.
set(KESTREL_QUICK_DEMO_DIR ${CMAKE_BINARY_DIR}/quick-demo)
set(KESTREL_FULL_DEMO_DIR ${CMAKE_BINARY_DIR}/demo)

function(kestrel_demo_content target dir)
  # A fresh folder each time, so that nothing of an older demo stays behind.
  add_custom_command(OUTPUT ${dir}/.made-by
                     COMMAND ${CMAKE_COMMAND} -E rm -rf ${dir}
                     COMMAND kestrel-make-demo ${ARGN} ${dir}
                     COMMAND ${CMAKE_COMMAND} -E touch ${dir}/.made-by
                     DEPENDS kestrel-make-demo
                     COMMENT "Making the demo content in ${dir}"
                     USES_TERMINAL VERBATIM)
  add_custom_target(${target} ALL DEPENDS ${dir}/.made-by)
endfunction()

if(TARGET kestrel-make-demo)
  if(KESTREL_TESTS OR KESTREL_DEMO STREQUAL "quick")
    kestrel_demo_content(kestrel_quick_demo ${KESTREL_QUICK_DEMO_DIR} --quick)
  endif()
  if(KESTREL_DEMO STREQUAL "full")
    kestrel_demo_content(kestrel_full_demo ${KESTREL_FULL_DEMO_DIR})
  endif()
endif()
