# Man pages, compressed as Debian ships them. sorrel's page is generated with help2man from its
# own --help and the --help of every command it lists, so new commands appear without edits here;
# the scanner and the desktop program have no --help, their pages are written by hand.
find_program(SORREL_HELP2MAN help2man REQUIRED)
find_program(SORREL_GZIP gzip REQUIRED)

set(man_dir ${SORREL_PACKAGE_BUILD_DIR}/man)
file(MAKE_DIRECTORY ${man_dir})

add_custom_command(
  OUTPUT ${man_dir}/sorrel.1.gz
  COMMAND ${CMAKE_COMMAND} -DSORREL=$<TARGET_FILE:sorrel> -DHELP2MAN=${SORREL_HELP2MAN}
          -DVERSION=${PROJECT_VERSION} -DOUTPUT=${man_dir}/sorrel.1
          -P ${CMAKE_CURRENT_SOURCE_DIR}/make_sorrel_man_page.cmake
  COMMAND ${CMAKE_COMMAND} -DGZIP=${SORREL_GZIP} -DINPUT=${man_dir}/sorrel.1 -DOUTPUT=${man_dir}/sorrel.1.gz
          -P ${CMAKE_CURRENT_SOURCE_DIR}/gzip_file.cmake
  DEPENDS sorrel ${CMAKE_CURRENT_SOURCE_DIR}/make_sorrel_man_page.cmake ${CMAKE_CURRENT_SOURCE_DIR}/gzip_file.cmake
  VERBATIM)
set(man_pages ${man_dir}/sorrel.1.gz)

set(written_pages Sorrelscan.1)
if(TARGET Sorrelmede)
  list(APPEND written_pages Sorrelmede.1)
endif()
foreach(page ${written_pages})
  configure_file(man/${page}.in ${man_dir}/${page} @ONLY)
  add_custom_command(
    OUTPUT ${man_dir}/${page}.gz
    COMMAND ${CMAKE_COMMAND} -DGZIP=${SORREL_GZIP} -DINPUT=${man_dir}/${page}
            -DOUTPUT=${man_dir}/${page}.gz -P ${CMAKE_CURRENT_SOURCE_DIR}/gzip_file.cmake
    DEPENDS ${man_dir}/${page} ${CMAKE_CURRENT_SOURCE_DIR}/gzip_file.cmake
    VERBATIM)
  list(APPEND man_pages ${man_dir}/${page}.gz)
endforeach()

add_custom_command(
  OUTPUT ${SORREL_PACKAGE_BUILD_DIR}/changelog.gz
  COMMAND ${CMAKE_COMMAND} -DGZIP=${SORREL_GZIP} -DINPUT=${CMAKE_CURRENT_SOURCE_DIR}/debian/changelog
          -DOUTPUT=${SORREL_PACKAGE_BUILD_DIR}/changelog.gz -P ${CMAKE_CURRENT_SOURCE_DIR}/gzip_file.cmake
  DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/debian/changelog ${CMAKE_CURRENT_SOURCE_DIR}/gzip_file.cmake
  VERBATIM)

add_custom_target(sorrel_package_files ALL DEPENDS ${man_pages} ${SORREL_PACKAGE_BUILD_DIR}/changelog.gz)
install(FILES ${man_pages} DESTINATION /usr/share/man/man1)
