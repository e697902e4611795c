# Each folder builds from the sources it holds, so adding a file needs no list edit.
function(zq_glob_sources out dir)
  file(GLOB _found CONFIGURE_DEPENDS "${dir}/*.cpp" "${dir}/*.h")
  set(${out} ${_found} PARENT_SCOPE)
endfunction()
