# The programs that go into the setup package, built small.
#
# kelvane_shipped_program(target) marks a Windows program of the package.
# At the end of the configuration, the program and every static library of
# the project it links (directly or through other libraries) are compiled
# without exceptions, run-time type information and unwind tables, unless
# the library is marked with kelvane_uses_exceptions(); the program gets
# runtime/LeanRuntime.cpp and the linker drops every function and object
# nothing refers to.  The
# programs run on one thread, so function-local statics get no lock: a
# lock would bring in the threads layer and its exception classes.
#
# kelvane_uses_exceptions(target) marks a library through which a
# CZipException is thrown or in which it is caught.  An exception must never
# unwind through code built without unwind tables: it would end the program.
# Natively (tests, sanitizers, fuzzers) nothing changes.

function(kelvane_uses_exceptions target)
  set_property(TARGET ${target} PROPERTY KELVANE_USES_EXCEPTIONS ON)
endfunction()

function(kelvane_shipped_program target)
  if(NOT KELVANE_WINDOWS)
    return()
  endif()
  target_sources(${target} PRIVATE ${PROJECT_SOURCE_DIR}/runtime/LeanRuntime.cpp)
  target_link_options(${target} PRIVATE -Wl,--gc-sections)
  set_property(GLOBAL APPEND PROPERTY KELVANE_SHIPPED_PROGRAMS ${target})
  # Libraries may still be defined after the program (Kelvane links the
  # automation layer, which is added later): look at them once all are there.
  get_property(deferred GLOBAL PROPERTY KELVANE_SHIPPING_DEFERRED)
  if(NOT deferred)
    set_property(GLOBAL PROPERTY KELVANE_SHIPPING_DEFERRED ON)
    cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL _kelvane_finish_shipped_programs)
  endif()
endfunction()

# The project's own static libraries that TARGET links, with their own.
function(_kelvane_collect_libraries target out_var)
  set(seen ${${out_var}})
  get_target_property(libs ${target} LINK_LIBRARIES)
  if(NOT libs)
    return()
  endif()
  foreach(lib ${libs})
    if(NOT TARGET ${lib} OR lib IN_LIST seen)
      continue()
    endif()
    get_target_property(type ${lib} TYPE)
    get_target_property(imported ${lib} IMPORTED)
    if(imported OR NOT type STREQUAL "STATIC_LIBRARY")
      continue()
    endif()
    list(APPEND seen ${lib})
    _kelvane_collect_libraries(${lib} seen)
  endforeach()
  set(${out_var} ${seen} PARENT_SCOPE)
endfunction()

function(_kelvane_finish_shipped_programs)
  get_property(programs GLOBAL PROPERTY KELVANE_SHIPPED_PROGRAMS)
  set(targets ${programs})
  foreach(program ${programs})
    _kelvane_collect_libraries(${program} targets)
  endforeach()
  list(REMOVE_DUPLICATES targets)
  foreach(target ${targets})
    target_compile_options(${target} PRIVATE $<$<COMPILE_LANGUAGE:CXX>:-fno-threadsafe-statics>)
    get_target_property(uses ${target} KELVANE_USES_EXCEPTIONS)
    if(NOT uses)
      target_compile_options(${target} PRIVATE
        $<$<COMPILE_LANGUAGE:CXX>:-fno-exceptions -fno-rtti> -fno-asynchronous-unwind-tables)
    endif()
  endforeach()
endfunction()
