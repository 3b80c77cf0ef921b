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

# quercino_test(NAME SOURCES ... LIBS ... [LABELS ...] [QT_MAIN]): one GoogleTest program.
# QT_MAIN links tests/support's main, which creates a QApplication first.
# Every test it holds runs on Qt's offscreen platform and carries the labels `ctest -L`
# selects by (quercino_test_labels), LABELS added.
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
    QUERCINO_SEED_DATABASE="${PROJECT_BINARY_DIR}/tools/VEKO.sqlite"
    QUERCINO_NPM_DATA_DIR="${QUERCINO_NPM_DATA_DIR}"
    QUERCINO_SHEETJS_DIR="${QUERCINO_NPM_DATA_DIR}/node_modules/xlsx")
  # Value-parameterized tests are named by their generators ("…/OdbcPostgres"); the printed
  # value would add a comment to the name, and with it a pointer that changes at every build.
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60 NO_PRETTY_VALUES
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
  quercino_test_labels(labels ${ARG_SOURCES})
  list(APPEND labels ${ARG_LABELS})
  # The labels are set after discovery, test by test: a list would be split into
  # properties on its way through gtest_discover_tests, and the database back-end a test
  # runs on is known only from its name (tests/support/db_backends.h: a test that needs
  # PostgreSQL has "Postgres" in its name).
  set(include "${CMAKE_CURRENT_BINARY_DIR}/${name}_labels.cmake")
  file(WRITE "${include}" "foreach(test IN LISTS ${name}_TESTS)
  set(labels ${labels})
  if(test MATCHES \"/(SqliteFile|OdbcSqlite)(_|$)|Postgres\")
    list(APPEND labels db)
  endif()
  if(test MATCHES \"/OdbcSqlite(_|$)|Postgres\")
    list(APPEND labels odbc)
  endif()
  if(test MATCHES \"Postgres\")
    list(APPEND labels postgres)
  endif()
  set_tests_properties(\"\${test}\" PROPERTIES LABELS \"\${labels}\")
endforeach()
")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES "${include}")
endfunction()

# quercino_test_labels(VAR SOURCE ...): the labels of a test program, from its first source
# file, so that a new test file is labelled without a CMake edit:
#  - each folder of its path below tests/ (tests/declarants/import -> declarants, import);
#  - the first word of its name when the area tested has a folder of that name
#    (tests/platform/sheets_csv_test.cpp -> sheets, for platform/sheets);
#  - windows, when it includes one of the program's windows (headers named F...).
function(quercino_test_labels var source)
  set(labels)
  file(RELATIVE_PATH relative "${PROJECT_SOURCE_DIR}/tests" "${source}")
  get_filename_component(folder "${relative}" DIRECTORY)
  if(NOT relative MATCHES "^\\.\\." AND folder)
    string(REPLACE "/" ";" labels "${folder}")
    get_filename_component(file_name "${source}" NAME_WE)
    string(REGEX REPLACE "_.*" "" word "${file_name}")
    if(NOT word STREQUAL file_name AND IS_DIRECTORY "${PROJECT_SOURCE_DIR}/${folder}/${word}")
      list(APPEND labels ${word})
    endif()
  endif()
  file(STRINGS "${source}" windows REGEX "^#include \"[a-z_/]+/F[A-Z0-9][A-Za-z0-9]*\\.h\"")
  if(windows)
    list(APPEND labels windows)
  endif()
  set(${var} ${labels} PARENT_SCOPE)
endfunction()
