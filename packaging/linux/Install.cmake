# The installation on Linux: the application folder whole under lib/quorvane (the program finds
# its optional files below the folder of its program file), the two commands on the PATH as
# links, and the desktop's entry, icons, metadata and manual page. CPack makes the .deb of it.
set(QUORVANE_INSTALL_APP_DIR "lib/quorvane")
set(_linux "${CMAKE_SOURCE_DIR}/packaging/linux")

install(TARGETS quorvane quorvane-compare RUNTIME DESTINATION "${QUORVANE_INSTALL_APP_DIR}")
install(TARGETS quorvane-office LIBRARY DESTINATION "${QUORVANE_INSTALL_APP_DIR}")
# The engine finds the office's own libraries where the office keeps them.
set_target_properties(quorvane-office PROPERTIES INSTALL_RPATH "${LIBREOFFICE_PROGRAM_DIR}")
install(DIRECTORY "${QUORVANE_APP_DIR}/x" "${QUORVANE_APP_DIR}/Samples" "${QUORVANE_APP_DIR}/Splash"
        DESTINATION "${QUORVANE_INSTALL_APP_DIR}")
install(FILES "${QUORVANE_APP_DIR}/HAND-M.CUR" DESTINATION "${QUORVANE_INSTALL_APP_DIR}")
foreach(_command quorvane quorvane-compare)
    install(CODE "
        file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin\")
        file(CREATE_LINK \"../${QUORVANE_INSTALL_APP_DIR}/${_command}\"
             \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin/${_command}\" SYMBOLIC)")
endforeach()

install(FILES "${_linux}/quorvane.desktop" DESTINATION share/applications)
foreach(_size 32 48 128 256)
    install(FILES "${CMAKE_SOURCE_DIR}/assets/icons/${_size}x${_size}.png"
            DESTINATION "share/icons/hicolor/${_size}x${_size}/apps" RENAME quorvane.png)
endforeach()
configure_file("${_linux}/example.meldrisk.quorvane.metainfo.xml"
               "${CMAKE_BINARY_DIR}/packaging/example.meldrisk.quorvane.metainfo.xml" @ONLY)
install(FILES "${CMAKE_BINARY_DIR}/packaging/example.meldrisk.quorvane.metainfo.xml"
        DESTINATION share/metainfo)
configure_file("${_linux}/quorvane-compare.1" "${CMAKE_BINARY_DIR}/packaging/quorvane-compare.1"
               @ONLY)
add_custom_command(OUTPUT "${CMAKE_BINARY_DIR}/packaging/quorvane-compare.1.gz"
                   COMMAND gzip -9nkf "${CMAKE_BINARY_DIR}/packaging/quorvane-compare.1"
                   DEPENDS "${_linux}/quorvane-compare.1")
add_custom_target(manual ALL DEPENDS "${CMAKE_BINARY_DIR}/packaging/quorvane-compare.1.gz")
install(FILES "${CMAKE_BINARY_DIR}/packaging/quorvane-compare.1.gz" DESTINATION share/man/man1)
install(FILES "${_linux}/copyright" DESTINATION share/doc/quorvane)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quorvane)
set(CPACK_PACKAGE_VERSION "${QUORVANE_VERSION}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_CONTACT "Meldrisk <${QUORVANE_SUPPORT_ADDRESS}>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "compares two Word documents in a real word processor")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Quorvane opens the first document, has the word processor mark every difference of the
second against it as tracked changes in a new document, and leaves that document open.
On Linux the word processor is a private LibreOffice Writer; quorvane-compare does the
same from the command line, for one pair or a batch.")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION text)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${QUORVANE_HOME_PAGE}")
# The program starts and says what to install without LibreOffice, so Writer is recommended,
# not required. The libraries the program links are worked out by scripts/package.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libreoffice-writer, libreoffice-math")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS OFF)
include(CPack)
