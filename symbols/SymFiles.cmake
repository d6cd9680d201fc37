# ox_release_with_sym(<target>)
#   Makes <build>/release/<file> (the module stripped of its debug sections) and
#   <build>/release/<name>.sym beside it (an ELF64 file with the module's DWARF data, made from
#   the unstripped module), the form in which modules ship: the platform's debug-help library
#   finds no debug data in them, and the symbol reader's own readers take the .sym file.
find_program(OX_HOST_OBJCOPY objcopy REQUIRED)
find_program(OX_MINGW_STRIP x86_64-w64-mingw32-strip REQUIRED)
set(OX_RELEASE_DIR ${CMAKE_BINARY_DIR}/release)

function(ox_release_with_sym target)
  set(stripped ${OX_RELEASE_DIR}/$<TARGET_FILE_NAME:${target}>)
  set(sym ${OX_RELEASE_DIR}/$<TARGET_FILE_BASE_NAME:${target}>.sym)
  add_custom_command(
    OUTPUT ${OX_RELEASE_DIR}/${target}.stamp
    COMMAND ${CMAKE_COMMAND} -E make_directory ${OX_RELEASE_DIR}
    COMMAND ${OX_MINGW_STRIP} --strip-debug -o ${stripped} $<TARGET_FILE:${target}>
    COMMAND ${OX_HOST_OBJCOPY} -O elf64-x86-64 --only-keep-debug $<TARGET_FILE:${target}> ${sym}
    COMMAND ${CMAKE_COMMAND} -E touch ${OX_RELEASE_DIR}/${target}.stamp
    DEPENDS ${target}
    COMMENT "Stripping ${target} and writing its .sym file"
    VERBATIM)
  add_custom_target(${target}_release ALL DEPENDS ${OX_RELEASE_DIR}/${target}.stamp)
endfunction()
