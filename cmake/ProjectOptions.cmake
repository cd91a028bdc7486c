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
