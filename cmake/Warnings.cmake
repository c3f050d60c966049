# Our own targets build with these warnings, as errors with PAGETAP_WERROR; the libraries we use
# are system headers.
function(pagetap_own_code target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow
    $<$<BOOL:${PAGETAP_WERROR}>:-Werror>
    # GCC 12 reports impossible overlaps in std::string's inlined copies at -O3 (GCC bug 105329).
    $<$<AND:$<CXX_COMPILER_ID:GNU>,$<VERSION_LESS:$<CXX_COMPILER_VERSION>,13>>:-Wno-restrict>)
endfunction()
