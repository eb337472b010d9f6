# Installing Kelvarine as a desktop application (cmake --install) and packaging it as a .deb (cpack -G DEB).
# Included at the end of the top-level CMakeLists.txt, after every target is defined.

include(GNUInstallDirs)

set(KELVARINE_DATA ${PROJECT_SOURCE_DIR}/data)

# The manual pages and the AppStream release state the version by hand: they must agree with the project's.
foreach(versioned man/kelvarine.1 man/kelvarine-cli.1 data/io.github.kelvarine.metainfo.xml)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${versioned})
  file(READ ${PROJECT_SOURCE_DIR}/${versioned} text)
  if(NOT text MATCHES "\"Kelvarine ${PROJECT_VERSION}\"|<release version=\"${PROJECT_VERSION}\"")
    message(FATAL_ERROR "${versioned} does not state version ${PROJECT_VERSION}")
  endif()
endforeach()
# The Debian revision of the package; the latest entry of the package's changelog must name the same.
set(KELVARINE_DEBIAN_REVISION 1)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${KELVARINE_DATA}/debian/changelog)
file(STRINGS ${KELVARINE_DATA}/debian/changelog KELVARINE_CHANGELOG_TOP LIMIT_COUNT 1)
if(NOT KELVARINE_CHANGELOG_TOP MATCHES "^kelvarine \\(${PROJECT_VERSION}-${KELVARINE_DEBIAN_REVISION}\\) ")
  message(FATAL_ERROR "data/debian/changelog does not start with version ${PROJECT_VERSION}-${KELVARINE_DEBIAN_REVISION}")
endif()

install(TARGETS kelvarine-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET kelvarine)
  install(TARGETS kelvarine RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

# The help file: the desktop program looks for it in <bin>/../share/kelvarine first.
install(FILES ${KELVARINE_DATA}/Brisolan.hlp DESTINATION ${CMAKE_INSTALL_DATADIR}/kelvarine)

# Desktop entry, icons (one drawing for every size but 16 px, which has its own on the pixel grid),
# AppStream metadata and bash completion.
install(FILES ${KELVARINE_DATA}/kelvarine.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${KELVARINE_DATA}/icons/kelvarine.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 16 32 48 64 128 256)
  install(FILES ${KELVARINE_DATA}/icons/kelvarine-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME kelvarine.png)
endforeach()
install(FILES ${KELVARINE_DATA}/io.github.kelvarine.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${KELVARINE_DATA}/completion/kelvarine-cli
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)

# The licence in Debian's machine-readable copyright format and the package's changelog, where Debian
# keeps them (the changelog gzip-compressed, as the manual pages below).
set(KELVARINE_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/kelvarine)
install(FILES ${KELVARINE_DATA}/debian/copyright DESTINATION ${KELVARINE_DOC_DIR})
install(CODE "
  file(MAKE_DIRECTORY \"${PROJECT_BINARY_DIR}/doc\")
  execute_process(COMMAND gzip -9nc \"${KELVARINE_DATA}/debian/changelog\"
                  OUTPUT_FILE \"${PROJECT_BINARY_DIR}/doc/changelog.Debian.gz\" RESULT_VARIABLE gzip_result)
  if(NOT gzip_result EQUAL 0)
    message(FATAL_ERROR \"gzip of the changelog failed: \${gzip_result}\")
  endif()")
install(FILES ${PROJECT_BINARY_DIR}/doc/changelog.Debian.gz DESTINATION ${KELVARINE_DOC_DIR})

# Manual pages, gzip-compressed at install time as Debian ships them (-n: no name or time stamp, so the
# package is reproducible).
set(KELVARINE_MAN_STAGE ${PROJECT_BINARY_DIR}/man)
foreach(page kelvarine.1 kelvarine-cli.1)
  install(CODE "
    file(MAKE_DIRECTORY \"${KELVARINE_MAN_STAGE}\")
    execute_process(COMMAND gzip -9nc \"${PROJECT_SOURCE_DIR}/man/${page}\"
                    OUTPUT_FILE \"${KELVARINE_MAN_STAGE}/${page}.gz\" RESULT_VARIABLE gzip_result)
    if(NOT gzip_result EQUAL 0)
      message(FATAL_ERROR \"gzip of ${page} failed: \${gzip_result}\")
    endif()")
  install(FILES ${KELVARINE_MAN_STAGE}/${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()

# The Debian package. Its dependencies are worked out from the binaries by dpkg-shlibdeps.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kelvarine)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_DEBIAN_PACKAGE_RELEASE ${KELVARINE_DEBIAN_REVISION})
set(CPACK_PACKAGE_VENDOR "Kelvarine developers")
set(CPACK_PACKAGE_CONTACT "Kelvarine developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "file and directory comparison utility")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Kelvarine developers <kelvarine@users.noreply.invalid>")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The long description; CPack puts the summary above it and indents it as a control file needs.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Kelvarine compares a New and an Old file, or the like-named files of a New
and an Old directory, and produces a report of matched, inserted, deleted,
reformatted and moved lines with reference numbers, totals for each pair and
a grouped summary. Comment and blank lines can be left out of the compare,
letter case ignored and compare columns chosen. Binary files are compared
byte by byte.

The package holds the desktop program kelvarine (Qt 6), whose viewers colour
the report by change and jump from change to change, print it and save it as
text, RTF or HTML, and the command line kelvarine-cli for terminals and
scripts, with a diff-style exit status.")
include(CPack)
