# vx_subsystem(name [OFFICE] DEPENDS libs... [WINDOW_DEPENDS libs...] [RESOURCES files...])
#
# One subsystem folder: its logic (every .cpp/.h directly in the folder) becomes the
# library vx_<name>, which never links QtWidgets; its windows (the gui/ subfolder) become
# vx_<name>_windows on top of it. Files are picked up by name, so adding a source file
# needs no edit here.
# OFFICE: a part of the office review program only, kept out of the measurement program's
# own list of libraries, which neither links nor installs it.
# Our own libraries that do not exist (yet) are left out of the dependency lists.
function(vx_existing out)
  set(kept)
  foreach(lib ${ARGN})
    if(TARGET ${lib} OR NOT lib MATCHES "^vx_")
      list(APPEND kept ${lib})
    endif()
  endforeach()
  set(${out} ${kept} PARENT_SCOPE)
endfunction()

function(vx_subsystem name)
  cmake_parse_arguments(S "OFFICE" "" "DEPENDS;WINDOW_DEPENDS;RESOURCES" ${ARGN})
  vx_existing(S_DEPENDS ${S_DEPENDS})
  vx_existing(S_WINDOW_DEPENDS ${S_WINDOW_DEPENDS})
  file(GLOB logic CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  file(GLOB logic_cpp CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(logic_cpp)
    add_library(vx_${name} STATIC ${logic})
    target_include_directories(vx_${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
    target_link_libraries(vx_${name} PUBLIC ${S_DEPENDS})
  else()
    add_library(vx_${name} INTERFACE ${logic})
    target_include_directories(vx_${name} INTERFACE ${CMAKE_SOURCE_DIR}/src)
    target_link_libraries(vx_${name} INTERFACE ${S_DEPENDS})
  endif()
  if(NOT S_OFFICE)
    set_property(GLOBAL APPEND PROPERTY VX_LOGIC_LIBRARIES vx_${name})
  endif()

  file(GLOB gui CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/gui/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/gui/*.h)
  if(gui)
    add_library(vx_${name}_windows STATIC ${gui} ${S_RESOURCES})
    target_link_libraries(vx_${name}_windows PUBLIC vx_${name} Qt6::Widgets ${S_WINDOW_DEPENDS})
    if(NOT S_OFFICE)
      set_property(GLOBAL APPEND PROPERTY VX_WINDOW_LIBRARIES vx_${name}_windows)
    endif()
  endif()
endfunction()
