# What ships: handsetlink.exe and trayconsole.exe without their debug data, in
# build/<tree>/shipped/. Each keeps its debug data beside it as PROGRAM.exe.debug, named in the
# program's .gnu_debuglink, so a debugger pointed at the shipped file finds its symbols.
# `cmake --install build/<tree> --prefix DIR` stages exactly what ships in DIR: the programs
# and the user guide; the installer is made from such a stage.
set(SHIPPED_DIR ${CMAKE_BINARY_DIR}/shipped)
set(SHIPPED_PROGRAMS)
file(MAKE_DIRECTORY ${SHIPPED_DIR})

foreach(program handsetlink trayconsole)
  set(shipped ${SHIPPED_DIR}/${program}.exe)
  add_custom_command(OUTPUT ${shipped} ${shipped}.debug
    COMMAND ${CMAKE_OBJCOPY} --only-keep-debug $<TARGET_FILE:${program}> ${program}.exe.debug
    # The link holds the debug file's name and checksum; objcopy reads it from the working folder.
    COMMAND ${CMAKE_OBJCOPY} --strip-all --add-gnu-debuglink=${program}.exe.debug
      $<TARGET_FILE:${program}> ${program}.exe
    WORKING_DIRECTORY ${SHIPPED_DIR}
    DEPENDS ${program}
    COMMENT "Shipped ${program}.exe without its debug data"
    VERBATIM)
  list(APPEND SHIPPED_PROGRAMS ${shipped})
endforeach()

add_custom_target(shipped_programs ALL DEPENDS ${SHIPPED_PROGRAMS})
install(PROGRAMS ${SHIPPED_PROGRAMS} DESTINATION .)
# Plain text, so that Notepad opens it on any Windows.
install(FILES ${CMAKE_SOURCE_DIR}/docs/user-guide.md DESTINATION . RENAME "User Guide.txt")
