# Compiler settings shared by every target of ours. Third-party code is not
# built here, so warnings-as-errors applies to our own sources only.

function(nb_target_defaults target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4 $<$<BOOL:${NB_WARNINGS_AS_ERRORS}>:/WX>)
  else()
    target_compile_options(${target} PRIVATE
      -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion
      -Wnon-virtual-dtor -Wold-style-cast -Woverloaded-virtual
      $<$<BOOL:${NB_WARNINGS_AS_ERRORS}>:-Werror>)
    # mingw-w64's GCC 12 reports a false -Wrestrict inside std::string's
    # inlined copies at -O2 and above (GCC bug 105329, fixed in GCC 13).
    if(WIN32 AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
      target_compile_options(${target} PRIVATE -Wno-restrict)
    endif()
  endif()
endfunction()

if(NB_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

# The publisher's servers and the probe address are fixed in nokia-browser, in
# every window shell; nokia-browser-demo has the loopback demo servers'.
set(NB_PRIMARY_SERVER "http://primary.invalid" CACHE STRING
    "Primary catalogue server of nokia-browser: scheme and host, optionally :port")
set(NB_MIRROR_SERVER "http://mirror.invalid" CACHE STRING
    "Mirror catalogue server of nokia-browser: scheme and host, optionally :port")
set(NB_PROBE_ADDRESS "http://www.example.com/" CACHE STRING
    "Address nokia-browser requests at start to learn whether the network is reachable")
set(NB_DEMO_PRIMARY_SERVER "http://127.0.0.1:18936")
set(NB_DEMO_MIRROR_SERVER "http://127.0.0.1:18937")
set(NB_DEMO_PROBE_ADDRESS "http://127.0.0.1:18936/")
