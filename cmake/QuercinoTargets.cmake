# quercino_library(NAME DIR [DEPS ...]): a static library of every .cpp under DIR
# (recursively), so adding a file to an area needs no CMake edit.
function(quercino_library name dir)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${dir}/*.cpp)
  file(GLOB_RECURSE headers CONFIGURE_DEPENDS ${dir}/*.h)
  if(sources)
    add_library(${name} STATIC ${sources} ${headers})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${ARG_DEPS})
  endif()
endfunction()

# quercino_test(NAME SOURCES ... LIBS ... [QT_MAIN]): one GoogleTest program.
# QT_MAIN links tests/support's main, which creates a QApplication first.
function(quercino_test name)
  cmake_parse_arguments(ARG "QT_MAIN" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/tests)
  if(ARG_QT_MAIN)
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} quercino_test_support_qtmain GTest::gtest GTest::gmock)
  else()
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest_main GTest::gmock)
  endif()
  target_compile_definitions(${name} PRIVATE
    QUERCINO_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    QUERCINO_PROGRAM_DIR="${QUERCINO_PROGRAM_DIR}"
    QUERCINO_SEED_DATABASE="${PROJECT_BINARY_DIR}/tools/VEKO.sqlite")
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
    PROPERTIES LABELS "${ARG_LABELS}" ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()
