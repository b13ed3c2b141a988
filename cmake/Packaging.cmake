# What installing vellorin-export needs besides the executable, and its Debian package.
#
# Included from the end of the root CMakeLists.txt, after the targets exist. It
#  - makes the manual page from docs/vellorin-export.1.in with the project's version, and the
#    changelog of packaging/, both compressed with gzip -9n as Debian wants them;
#  - offers VELLORIN_HARDENING, the hardening flags the packaged executable is built with;
#  - configures CPack's DEB generator. The package is built with:
#
#      cmake -S . -B build-pkg -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELLORIN_HARDENING=ON \
#            -DVELLORIN_TESTS=OFF
#      cmake --build build-pkg
#      cpack --config build-pkg/CPackConfig.cmake -B build-pkg
#
# The version comes from project() only: the package, the manual page and the usage banner all
# take PROJECT_VERSION.

include(GNUInstallDirs)

set(VELLORIN_PACKAGE_NAME vellorin-export)
set(VELLORIN_MAINTAINER "VellorinExport developers <developers@example.org>"
    CACHE STRING "Maintainer of the Debian package, as \"Name <address>\"")

# --- Hardening ------------------------------------------------------------------------------------
# The flags of a hardened Debian build: optimised, stack protector, fortified library calls, a
# position-independent executable, and relocations that are read-only once the program runs.
option(VELLORIN_HARDENING "Build vellorin-export with the hardening flags of a Debian package" OFF)
if(VELLORIN_HARDENING)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    message(FATAL_ERROR "VELLORIN_HARDENING needs g++ or clang++")
  endif()
  include(CheckPIESupported)
  check_pie_supported(OUTPUT_VARIABLE pie_message LANGUAGES CXX)
  if(NOT CMAKE_CXX_LINK_PIE_SUPPORTED)
    message(FATAL_ERROR "VELLORIN_HARDENING: the linker cannot make a PIE: ${pie_message}")
  endif()
  # -O2 comes after the build type's flags, so it wins over any -O there; _FORTIFY_SOURCE needs it.
  foreach(target IN ITEMS vellorin_core vellorin-export)
    set_target_properties(${target} PROPERTIES POSITION_INDEPENDENT_CODE ON)
    target_compile_options(${target} PRIVATE
      -O2 -fstack-protector-strong -U_FORTIFY_SOURCE -D_FORTIFY_SOURCE=2)
  endforeach()
  target_link_options(vellorin-export PRIVATE LINKER:-z,relro LINKER:-z,now)
endif()

# --- Manual page and changelog --------------------------------------------------------------------
set(docs_out "${PROJECT_BINARY_DIR}/docs")
configure_file("${PROJECT_SOURCE_DIR}/docs/vellorin-export.1.in" "${docs_out}/vellorin-export.1"
               @ONLY)
# Copied so that an edit of the changelog runs the configuration (and so gzip) again.
configure_file("${PROJECT_SOURCE_DIR}/packaging/changelog" "${docs_out}/changelog" COPYONLY)

# The newest changelog entry must be this version's: the package's changelog tells its history.
file(STRINGS "${PROJECT_SOURCE_DIR}/packaging/changelog" newest_entry LIMIT_COUNT 1)
string(REPLACE "." "\\." version_pattern "${PROJECT_VERSION}")
if(NOT newest_entry MATCHES "^${VELLORIN_PACKAGE_NAME} \\(${version_pattern}\\) ")
  message(WARNING "packaging/changelog has no entry for version ${PROJECT_VERSION} at its top: "
                  "\"${newest_entry}\"")
endif()

# gzip -9n: the best compression and no name or time stamp in the header, so that the same
# sources make the same bytes. Without gzip (not on Debian) the files are installed as they are.
find_program(VELLORIN_GZIP gzip)
set(VELLORIN_MANUAL_PAGE "${docs_out}/vellorin-export.1")
set(VELLORIN_CHANGELOG "${docs_out}/changelog")
if(VELLORIN_GZIP)
  foreach(file IN ITEMS VELLORIN_MANUAL_PAGE VELLORIN_CHANGELOG)
    execute_process(COMMAND "${VELLORIN_GZIP}" -9n -c "${${file}}"
                    OUTPUT_FILE "${${file}}.gz" RESULT_VARIABLE gzip_result)
    if(NOT gzip_result EQUAL 0)
      message(FATAL_ERROR "gzip -9n ${${file}} failed: ${gzip_result}")
    endif()
    set(${file} "${${file}}.gz")
  endforeach()
endif()

set(VELLORIN_DOC_DIR "${CMAKE_INSTALL_DATAROOTDIR}/doc/${VELLORIN_PACKAGE_NAME}")

# --- Debian package -------------------------------------------------------------------------------
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${VELLORIN_PACKAGE_NAME})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The VellorinExport developers")
set(CPACK_PACKAGE_CONTACT "${VELLORIN_MAINTAINER}")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://example.org/vellorin")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "export a Palm blood-pressure log as comma-separated text")
set(CPACK_PACKAGE_DESCRIPTION [=[
vellorin-export reads the database file of a Vellorin blood-pressure log,
as a Palm handheld keeps it (a Palm OS database, .pdb), and writes one line
of comma-separated text per reading (date, time, systolic and diastolic
pressure, pulse), ready for a spreadsheet or a charting program:

  3/7/2000,8:05,120,80,72

The readings come in stored order, with the date and time the handheld
recorded. The database is read as untrusted input: a damaged file is
reported with the offset where it fails, the readings before the damage are
still exported, and the exit status tells what went wrong.]=])
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${VELLORIN_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS OFF)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
