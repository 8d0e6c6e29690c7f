# The release package: `cmake --build --preset windows-x64 --target package`
# makes Tarvik-<project version>-win64.zip in the build folder. It holds the
# two DLLs without their debug information, that information in a file beside
# each DLL (named by the DLL's .gnu_debuglink, so that a debugger finds it
# next to a shipped DLL and a crash address can still be read), the record
# inspector, the installation text and the licences of the runtime that the
# static link puts into every module.

# Split at build time, so that the package only collects files: for each
# module a stripped copy and its debug file in release/.
set(release_dir ${CMAKE_BINARY_DIR}/release)
set(release_files)
foreach(module tarvikui tarvikres7)
    set(stripped ${release_dir}/${module}.dll)
    set(debug ${release_dir}/${module}.dll.debug)
    add_custom_command(OUTPUT ${stripped} ${debug}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${release_dir}
        COMMAND ${CMAKE_OBJCOPY} --only-keep-debug $<TARGET_FILE:${module}> ${debug}
        # The link names the debug file by its base name and checksum; it
        # is made in the release folder so that objcopy finds it there.
        COMMAND ${CMAKE_OBJCOPY} --strip-all --add-gnu-debuglink=${module}.dll.debug
                $<TARGET_FILE:${module}> ${stripped}
        WORKING_DIRECTORY ${release_dir}
        DEPENDS ${module}
        COMMENT "Splitting the debug information of ${module}.dll"
        VERBATIM)
    list(APPEND release_files ${stripped} ${debug})
endforeach()
# The inspector is a tool: shipped without its debug information and symbols.
# (The debug files keep the symbol tables of the DLLs.)
set(record_tool ${release_dir}/tarvik-record.exe)
add_custom_command(OUTPUT ${record_tool}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${release_dir}
    COMMAND ${CMAKE_OBJCOPY} --strip-all $<TARGET_FILE:tarvik-record> ${record_tool}
    DEPENDS tarvik-record
    VERBATIM)
configure_file(${CMAKE_CURRENT_LIST_DIR}/INSTALL.txt.in ${release_dir}/INSTALL.txt @ONLY NEWLINE_STYLE CRLF)
add_custom_target(release_files ALL DEPENDS ${release_files} ${record_tool})

install(FILES ${release_files} ${release_dir}/INSTALL.txt DESTINATION .)
install(PROGRAMS ${record_tool} DESTINATION .)

# Every module links the MinGW-w64 runtime (its C runtime start-up and
# winpthreads) and GCC's libgcc and libstdc++ statically: their licences go
# along, taken from the toolchain packages that built them.
install(FILES /usr/share/doc/mingw-w64-common/copyright DESTINATION licences RENAME MinGW-w64-runtime.txt)
install(FILES /usr/share/doc/gcc-mingw-w64-base/copyright DESTINATION licences
    RENAME GCC-runtime-libraries-and-exception.txt)
install(FILES /usr/share/common-licenses/GPL-3 DESTINATION licences RENAME GPL-3.txt)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Tarvik)
set(CPACK_PACKAGE_VENDOR KASTREL)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_SYSTEM_NAME win64)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_OUTPUT_CONFIG_FILE ${CMAKE_BINARY_DIR}/CPackConfig.cmake)
include(CPack)
