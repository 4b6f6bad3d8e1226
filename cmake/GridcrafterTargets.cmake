# Shared compile settings and the layer rules: a layer's library links only the libraries of the
# layers below it, which are defined before it, and headless libraries never reach QtWidgets.

add_library(gc_warnings INTERFACE)
target_compile_options(gc_warnings INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion
  -Wnon-virtual-dtor -Wold-style-cast -Woverloaded-virtual)
if(GC_WERROR)
  target_compile_options(gc_warnings INTERFACE -Werror)
endif()

# gc_headless_library(NAME SOURCES...): a static library that may link QtCore and QtGui only.
function(gc_headless_library name)
  add_library(${name} STATIC ${ARGN})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC Qt6::Core Qt6::Gui PRIVATE gc_warnings)
  set_property(GLOBAL APPEND PROPERTY GC_HEADLESS_TARGETS ${name})
  set_property(GLOBAL APPEND PROPERTY GC_LAYER_TARGETS ${name})
endfunction()

# gc_widgets_library(NAME SOURCES...): a static library of windows or controls.
function(gc_widgets_library name)
  add_library(${name} STATIC ${ARGN})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  set_target_properties(${name} PROPERTIES AUTOMOC ON AUTOUIC ON AUTORCC ON)
  target_link_libraries(${name} PUBLIC Qt6::Core Qt6::Gui Qt6::Widgets PRIVATE gc_warnings)
  set_property(GLOBAL APPEND PROPERTY GC_LAYER_TARGETS ${name})
endfunction()

# gc_test(NAME SOURCES... LIBS libs...): one GoogleTest program, registered with CTest.
function(gc_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  set_target_properties(${name} PROPERTIES AUTOMOC ON)
  target_link_libraries(${name} PRIVATE ${T_LIBS} gc_testsupport GTest::gtest GTest::gmock gc_warnings)
  # The editor's preferences, its own game folder and its recovery files go to the build tree,
  # never to the user's.
  set(env "XDG_RUNTIME_DIR=${CMAKE_BINARY_DIR}/xdg-runtime" "QT_QPA_PLATFORM=offscreen"
          "XDG_CONFIG_HOME=${CMAKE_BINARY_DIR}/xdg-config" "XDG_DATA_HOME=${CMAKE_BINARY_DIR}/xdg-data"
          "XDG_STATE_HOME=${CMAKE_BINARY_DIR}/xdg-state")
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES ENVIRONMENT "${env}")
endfunction()

# Fails the configure step when a headless library reaches QtWidgets through any of its links.
function(gc_check_headless_layers)
  get_property(targets GLOBAL PROPERTY GC_HEADLESS_TARGETS)
  foreach(t IN LISTS targets)
    set(seen "")
    set(queue ${t})
    while(queue)
      list(POP_FRONT queue cur)
      if(cur IN_LIST seen)
        continue()
      endif()
      list(APPEND seen ${cur})
      if(cur MATCHES "Qt6::(Widgets|PrintSupport|Test)")
        message(FATAL_ERROR "${t} must not link ${cur}: it belongs to the headless layers")
      endif()
      if(TARGET ${cur})
        get_target_property(links ${cur} INTERFACE_LINK_LIBRARIES)
        get_target_property(type ${cur} TYPE)
        if(NOT type STREQUAL "INTERFACE_LIBRARY")
          get_target_property(own ${cur} LINK_LIBRARIES)
          if(own)
            list(APPEND links ${own})
          endif()
        endif()
        foreach(l IN LISTS links)
          string(REGEX REPLACE "^\\$<LINK_ONLY:(.*)>$" "\\1" l "${l}")
          if(l AND NOT l MATCHES "^\\$<")
            list(APPEND queue ${l})
          endif()
        endforeach()
      endif()
    endwhile()
  endforeach()
endfunction()

# Fails the configure step when a layer's library links one defined after it: the folders are
# added lowest layer first, so such a link points up.
function(gc_check_layer_order)
  get_property(layers GLOBAL PROPERTY GC_LAYER_TARGETS)
  foreach(t IN LISTS layers)
    list(FIND layers ${t} own)
    get_target_property(direct ${t} LINK_LIBRARIES)
    get_target_property(public ${t} INTERFACE_LINK_LIBRARIES)
    foreach(l IN LISTS direct public)
      string(REGEX REPLACE "^\\$<LINK_ONLY:(.*)>$" "\\1" l "${l}")
      list(FIND layers "${l}" linked)
      if(linked GREATER own)
        message(FATAL_ERROR
          "${t} links ${l}, which is defined after it: a layer may only use the layers below it")
      endif()
    endforeach()
  endforeach()
endfunction()
