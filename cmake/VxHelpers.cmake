# Small helpers shared by the project's CMake files.

# Adds each listed folder that has a CMakeLists.txt, so layers can arrive one at a time.
function(vx_add_subdirectories)
  foreach(dir IN LISTS ARGN)
    if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/CMakeLists.txt)
      add_subdirectory(${dir})
    endif()
  endforeach()
endfunction()

# vx_add_gtest(NAME SOURCES ... LIBS ... [LABELS ...]): one GoogleTest executable registered with CTest.
function(vx_add_gtest name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE VX_BIN_DIR="${CMAKE_BINARY_DIR}/bin")
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8")
  if(VX_SANITIZE)
    # The test and the tools it runs report leaks with their whole stack, so that the suppressions can
    # name exactly the libraries' one-time allocations.
    set_property(TEST ${name} APPEND PROPERTY ENVIRONMENT
      "ASAN_OPTIONS=fast_unwind_on_malloc=0" "LSAN_OPTIONS=suppressions=${CMAKE_SOURCE_DIR}/tests/lsan.supp")
  endif()
  if(T_LABELS)
    set_tests_properties(${name} PROPERTIES LABELS "${T_LABELS}")
  endif()
endfunction()

# vx_add_data(FILES ... [DESTINATION sub]): files the viewer reads at run time. The build copies them beside
# the program (build/bin/sub); installing puts them in <prefix>/share/vx880/sub. DataFolder() finds either.
function(vx_add_data)
  cmake_parse_arguments(D "" "DESTINATION" "FILES" ${ARGN})
  foreach(file IN LISTS D_FILES)
    get_filename_component(name ${file} NAME)
    configure_file(${file} ${CMAKE_BINARY_DIR}/bin/${D_DESTINATION}/${name} COPYONLY)
  endforeach()
  install(FILES ${D_FILES} DESTINATION ${CMAKE_INSTALL_DATADIR}/vx880/${D_DESTINATION})
endfunction()
