# add_data_set(<target> DATAGEN <command> APP_DIR <dir> GENERATED_DIR <dir> [DEPENDS ...])
# The data set made by the generator behind a stamp, and a check before the stamp at every
# build: a file of the set that is missing, or not the size the generator made it, takes the
# stamp away, so that the same build makes the set again.
set(DATA_SET_CHECK_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/check_data_set.cmake)

function(add_data_set target)
  cmake_parse_arguments(D "" "DATAGEN;APP_DIR;GENERATED_DIR" "DEPENDS" ${ARGN})
  set(stamp ${CMAKE_CURRENT_BINARY_DIR}/${target}.stamp)
  set(sizes ${D_GENERATED_DIR}/data_set.sizes)
  add_custom_command(
    OUTPUT ${stamp} ${D_GENERATED_DIR}/design_pictures.cpp
    BYPRODUCTS ${sizes}
    COMMAND ${D_DATAGEN} ${D_APP_DIR} ${D_GENERATED_DIR}
    COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
    DEPENDS ${D_DEPENDS}
    COMMENT "Making the data set in ${D_APP_DIR}"
    VERBATIM)
  add_custom_target(${target}_check
    COMMAND ${CMAKE_COMMAND} -DAPP_DIR=${D_APP_DIR} -DSIZES=${sizes} -DSTAMP=${stamp}
            -P ${DATA_SET_CHECK_SCRIPT}
    VERBATIM)
  add_custom_target(${target} ALL DEPENDS ${stamp} ${D_GENERATED_DIR}/design_pictures.cpp)
  add_dependencies(${target} ${target}_check)
endfunction()
