# Compiler settings shared by every target of the project.

if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  add_compile_options(-Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion
                      -Wcast-qual -Wformat=2 -Wundef -Wnon-virtual-dtor)
  # No exceptions are thrown except by the archive reader; RTTI is not used.
endif()

if(KELVANE_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

if(WIN32)
  # 32-bit Windows with the ANSI API; Windows XP era headers are enough.
  add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0501 WINVER=0x0501 _WIN32_IE=0x0600)
  add_compile_options(-fno-ident)
  # One section per function and object, so that the shipped programs' linker
  # can drop what they do not use (cmake/KelvaneShipping.cmake).
  add_compile_options(-ffunction-sections -fdata-sections)
endif()

# kelvane_add_fuzzer(name source... LIBS lib...): a libFuzzer target built with
# ASan+UBSan; tools/run-fuzzers.sh runs every fuzz_* executable briefly.
function(kelvane_add_fuzzer name)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  add_executable(${name} ${ARG_UNPARSED_ARGUMENTS})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined -fno-omit-frame-pointer)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_libraries(${name} PRIVATE ${ARG_LIBS})
endfunction()

if(KELVANE_FUZZ)
  # Libraries linked into fuzzers need the coverage instrumentation too.
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
