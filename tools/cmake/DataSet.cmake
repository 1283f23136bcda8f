# add_data_set(<target> DATAGEN <target or path> APP_DIR <dir> GENERATED_DIR <dir>
#              [DEPENDS ...])
# The data set made by the generator behind a stamp, and a check before the stamp at every
# build: when a file of the set is missing, or not the size the generator made it, the check
# makes the set again at once, in the same build whatever the generator of the build.
set(DATA_SET_CHECK_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/check_data_set.cmake)

function(add_data_set target)
  cmake_parse_arguments(D "" "DATAGEN;APP_DIR;GENERATED_DIR" "DEPENDS" ${ARGN})
  set(stamp ${CMAKE_CURRENT_BINARY_DIR}/${target}.stamp)
  set(sizes ${D_GENERATED_DIR}/data_set.sizes)
  set(datagen ${D_DATAGEN})
  if(TARGET ${D_DATAGEN})
    set(datagen $<TARGET_FILE:${D_DATAGEN}>)
  endif()
  add_custom_command(
    OUTPUT ${stamp} ${D_GENERATED_DIR}/design_pictures.cpp
    BYPRODUCTS ${sizes}
    COMMAND ${datagen} ${D_APP_DIR} ${D_GENERATED_DIR}
    COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
    DEPENDS ${D_DEPENDS}
    COMMENT "Making the data set in ${D_APP_DIR}"
    VERBATIM)
  add_custom_target(${target}_check
    COMMAND ${CMAKE_COMMAND} -DDATAGEN=${datagen} -DAPP_DIR=${D_APP_DIR}
            -DGENERATED_DIR=${D_GENERATED_DIR} -DSIZES=${sizes} -DSTAMP=${stamp}
            -P ${DATA_SET_CHECK_SCRIPT}
    VERBATIM)
  # The check may run the generator: never while it is being built.
  if(TARGET ${D_DATAGEN})
    add_dependencies(${target}_check ${D_DATAGEN})
  endif()
  add_custom_target(${target} ALL DEPENDS ${stamp} ${D_GENERATED_DIR}/design_pictures.cpp)
  add_dependencies(${target} ${target}_check)
endfunction()
