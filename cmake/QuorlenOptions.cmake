# Flags every Quorlen target takes, through the interface target quorlen_options.
# The engine's results must be bit-identical on every build: no fast-math, and no
# fused multiply-add contraction that would change rounding between builds.
add_library(quorlen_options INTERFACE)
target_compile_options(quorlen_options INTERFACE
  -ffp-contract=off
  -fno-fast-math
  -Wall -Wextra -Wshadow -Wnon-virtual-dtor -Woverloaded-virtual)
target_include_directories(quorlen_options INTERFACE ${PROJECT_SOURCE_DIR})

if(QUORLEN_WERROR)
  target_compile_options(quorlen_options INTERFACE -Werror)
endif()

if(QUORLEN_SANITIZE STREQUAL "address")
  target_compile_options(quorlen_options INTERFACE
    -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  target_link_options(quorlen_options INTERFACE -fsanitize=address,undefined)
elseif(QUORLEN_SANITIZE STREQUAL "thread")
  target_compile_options(quorlen_options INTERFACE -fsanitize=thread -fno-omit-frame-pointer)
  target_link_options(quorlen_options INTERFACE -fsanitize=thread)
elseif(QUORLEN_SANITIZE STREQUAL "fuzzer")
  # libFuzzer's coverage in every library; fuzz/ links the fuzzer's own main.
  target_compile_options(quorlen_options INTERFACE -fsanitize=fuzzer-no-link,address,undefined
    -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  target_link_options(quorlen_options INTERFACE -fsanitize=address,undefined)
elseif(NOT QUORLEN_SANITIZE STREQUAL "")
  message(FATAL_ERROR "QUORLEN_SANITIZE must be '', 'address', 'thread' or 'fuzzer'")
endif()

# quorlen_add_library(name SOURCES...) : a static library of one source folder.
function(quorlen_add_library name)
  add_library(${name} STATIC ${ARGN})
  target_link_libraries(${name} PUBLIC quorlen_options)
endfunction()
