# vx_add_test(name SOURCES a.cpp ... LIBS lib ... [GUI])
# One GoogleTest executable, discovered by CTest when the tests run (not at build time),
# with a headless Qt platform unless the caller's environment sets one, and no print server:
# no test sends paper to a printer of the machine (the print queue test starts its own).
function(vx_add_test name)
  cmake_parse_arguments(T "GUI" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  if(T_GUI)
    target_link_libraries(${name} PRIVATE vx_test_main_gui ${T_LIBS})
  else()
    target_link_libraries(${name} PRIVATE vx_test_main ${T_LIBS})
  endif()
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES TIMEOUT ${T_TIMEOUT}
               ENVIRONMENT "QT_QPA_PLATFORM=offscreen;VX_BIN_DIR=${CMAKE_BINARY_DIR}/bin;CUPS_SERVER=${CMAKE_BINARY_DIR}/no-print-server.sock")
endfunction()
include(GoogleTest)

# vx_add_test_folder([GUI] [LIBS libs...]): every *.cpp directly in the calling folder
# becomes its own test executable named <folder>_<file>, so that one test file never
# breaks the build of another.
function(vx_add_test_folder)
  cmake_parse_arguments(F "GUI" "TIMEOUT" "LIBS" ${ARGN})
  get_filename_component(folder ${CMAKE_CURRENT_SOURCE_DIR} NAME)
  file(GLOB tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  foreach(src ${tests})
    get_filename_component(stem ${src} NAME_WE)
    set(gui_flag)
    if(F_GUI)
      set(gui_flag GUI)
    endif()
    set(timeout_arg)
    if(F_TIMEOUT)
      set(timeout_arg TIMEOUT ${F_TIMEOUT})
    endif()
    vx_add_test(${folder}_${stem} ${gui_flag} ${timeout_arg} SOURCES ${src} LIBS ${F_LIBS})
  endforeach()
endfunction()
