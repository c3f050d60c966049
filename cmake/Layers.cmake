# The program's layers, from the bottom: pagetap_platform, pagetap_http, pagetap_catalogue,
# pagetap_pictures (the core, no Qt) and pagetap_ui. A layer's headers are included as
# "<folder>/<name>.h" through an include folder of its own that holds only its source folder,
# so a layer sees its own headers and those of the layers it links, and an include of a layer
# above it does not build.
function(pagetap_layer target folder)
  set(root ${PROJECT_BINARY_DIR}/layers/${folder})
  file(MAKE_DIRECTORY ${root})
  file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${folder} ${root}/${folder} SYMBOLIC)
  target_include_directories(${target} PUBLIC ${root})
  pagetap_own_code(${target})
endfunction()

# What tests, fuzz targets and benches of the core link.
set(PAGETAP_CORE pagetap_pictures pagetap_catalogue pagetap_http pagetap_platform)
