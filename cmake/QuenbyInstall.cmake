include(GNUInstallDirs)

# The program finds its address-book library and its help beside itself, so
# both live with it in one private folder; bin/ holds links that lead there.
set(QUENBY_INSTALL_PKGDIR lib/quenby CACHE STRING
    "Folder (under the prefix) for the program, libwab32.so and the help")
if(IS_ABSOLUTE "${QUENBY_INSTALL_PKGDIR}")
    set(QUENBY_INSTALL_FULL_PKGDIR "${QUENBY_INSTALL_PKGDIR}")
else()
    set(QUENBY_INSTALL_FULL_PKGDIR "${CMAKE_INSTALL_PREFIX}/${QUENBY_INSTALL_PKGDIR}")
endif()
# Names the desktop entry, its icon and the AppStream component alike.
set(QUENBY_APP_ID org.example.quenby)

# quenby_install_command(<target>): the program into the private folder and a
# relative symbolic link to it into bin/ (the system resolves the link, so the
# program still sees its own folder).
function(quenby_install_command target)
    install(TARGETS ${target} RUNTIME DESTINATION ${QUENBY_INSTALL_PKGDIR})
    file(RELATIVE_PATH target_path ${CMAKE_INSTALL_FULL_BINDIR}
         ${QUENBY_INSTALL_FULL_PKGDIR}/${target})
    set(link ${CMAKE_BINARY_DIR}/install-links/${target})
    file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/install-links)
    file(CREATE_LINK ${target_path} ${link} SYMBOLIC)
    install(FILES ${link} DESTINATION ${CMAKE_INSTALL_BINDIR})
endfunction()
