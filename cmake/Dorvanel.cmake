# Helpers shared by every folder's CMakeLists.

# dorvanel_library(<name> [QT] DEPS <targets...> [EXCLUDE <regex...>])
# One folder, one library: every .cpp/.h of the folder (not of its sub-folders) goes in, so adding a unit
# needs no edit here; EXCLUDE leaves out the files whose paths match. The library exports its own folder's
# headers and no others: they are linked, one by one, into build/include/<name>/<folder>/, so
# "skin/skin_data.h" is found only by code that links the skin library (itself or through a dependency), and
# an include across a boundary fails to compile.
function(dorvanel_library name)
  cmake_parse_arguments(ARG "QT" "" "DEPS;EXCLUDE" ${ARGN})
  if(ARG_QT AND NOT DORVANEL_WITH_QT)
    return()
  endif()
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  foreach(ex IN LISTS ARG_EXCLUDE)
    list(FILTER sources EXCLUDE REGEX "${ex}")
  endforeach()
  list(FILTER sources INCLUDE REGEX "\\.cpp$|\\.h$")
  set(cpps ${sources})
  list(FILTER cpps INCLUDE REGEX "\\.cpp$")
  set(headers ${sources})
  list(FILTER headers INCLUDE REGEX "\\.h$")
  set(exported ${PROJECT_BINARY_DIR}/include/${name})
  dorvanel_export_headers(${exported} ${headers})
  if(cpps)
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${exported})
    target_link_libraries(${name} PUBLIC ${ARG_DEPS} dorvanel_options)
  else()
    # A folder with headers only so far.
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${exported})
    target_link_libraries(${name} INTERFACE ${ARG_DEPS} dorvanel_options)
  endif()
endfunction()

# dorvanel_export_headers(<folder> <headers...>)
# Links each header of src/ into <folder> under its path below src/ (the folder is made anew).
function(dorvanel_export_headers folder)
  file(REMOVE_RECURSE ${folder})
  foreach(header IN LISTS ARGN)
    file(RELATIVE_PATH relative ${PROJECT_SOURCE_DIR}/src ${header})
    get_filename_component(dir ${folder}/${relative} DIRECTORY)
    file(MAKE_DIRECTORY ${dir})
    file(CREATE_LINK ${header} ${folder}/${relative} SYMBOLIC)
  endforeach()
endfunction()

# dorvanel_test(<name> [QT] DIR <folder under tests/> DEPS <targets...>)
# One test program per tests/ folder, from every *_test.cpp in it, its cases registered with CTest.
function(dorvanel_test name)
  cmake_parse_arguments(ARG "QT" "DIR" "DEPS" ${ARGN})
  if(ARG_QT AND NOT DORVANEL_WITH_QT)
    return()
  endif()
  file(GLOB sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/${ARG_DIR}/*_test.cpp)
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  # Tests reach the program's headers through the libraries they test, as the program does.
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  target_link_libraries(${name} PRIVATE dorvanel_options)
  if(ARG_QT)
    target_link_libraries(${name} PRIVATE ${ARG_DEPS} dorvanel_testsupport_qt GTest::gtest GTest::gmock)
  else()
    target_link_libraries(${name} PRIVATE ${ARG_DEPS} dorvanel_testsupport GTest::gtest_main GTest::gmock)
  endif()
  target_compile_definitions(${name} PRIVATE DORVANEL_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
                                             DORVANEL_BINARY_DIR="${PROJECT_BINARY_DIR}")
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
                       PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 120)
endfunction()
