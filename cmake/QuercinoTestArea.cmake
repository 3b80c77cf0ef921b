# quercino_test_area(LIBS ... [QT_MAIN]): every *_test.cpp in the calling folder becomes
# its own test program, named after the file, linked with LIBS.
function(quercino_test_area)
  cmake_parse_arguments(ARG "QT_MAIN" "PREFIX" "LIBS" ${ARGN})
  file(GLOB tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp)
  foreach(source ${tests})
    get_filename_component(name ${source} NAME_WE)
    if(ARG_QT_MAIN)
      quercino_test(${ARG_PREFIX}${name} SOURCES ${source} LIBS ${ARG_LIBS} quercino_test_support QT_MAIN)
    else()
      quercino_test(${ARG_PREFIX}${name} SOURCES ${source} LIBS ${ARG_LIBS})
    endif()
  endforeach()
endfunction()
