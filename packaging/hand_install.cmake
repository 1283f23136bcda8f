# The record of a hand install, kept so that `uninstall` removes exactly what the install laid
# and made. Run at install time, and included by uninstall.cmake. Lines of the record:
#   file <path>      a file or link the install lays
#   folder <path>    a folder that did not exist before the install, which it makes
# A package's staging install (DESTDIR, or CPack's own staging prefix) is no hand install and
# leaves the record alone: the package's files are dpkg's to remove, never ours.

# The install script sets no policies of its own; these functions keep their own.
cmake_policy(VERSION 3.25)

# Where the record lies: the build folder's, unless COLOURING_INSTALL_RECORD names another.
function(hand_install_record_path default out)
  if(DEFINED ENV{COLOURING_INSTALL_RECORD} AND NOT "$ENV{COLOURING_INSTALL_RECORD}" STREQUAL "")
    set(${out} "$ENV{COLOURING_INSTALL_RECORD}" PARENT_SCOPE)
  else()
    set(${out} "${default}" PARENT_SCOPE)
  endif()
endfunction()

function(hand_install_read record files_out folders_out)
  set(files "")
  set(folders "")
  if(EXISTS "${record}")
    file(STRINGS "${record}" lines)
    foreach(line IN LISTS lines)
      if(line MATCHES "^file (/.+)$")
        list(APPEND files "${CMAKE_MATCH_1}")
      elseif(line MATCHES "^folder (/.+)$")
        list(APPEND folders "${CMAKE_MATCH_1}")
      endif()
    endforeach()
  endif()
  set(${files_out} "${files}" PARENT_SCOPE)
  set(${folders_out} "${folders}" PARENT_SCOPE)
endfunction()

function(hand_install_write record files folders)
  set(text "")
  foreach(path IN LISTS files)
    string(APPEND text "file ${path}\n")
  endforeach()
  foreach(path IN LISTS folders)
    string(APPEND text "folder ${path}\n")
  endforeach()
  file(WRITE "${record}.new" "${text}")
  file(RENAME "${record}.new" "${record}")
endfunction()

# Whether this install is one by hand into a real prefix.
function(hand_install_is_hand out)
  if(NOT "$ENV{DESTDIR}" STREQUAL "" OR CMAKE_INSTALL_PREFIX MATCHES "/_CPack_Packages/")
    set(${out} FALSE PARENT_SCOPE)
  else()
    set(${out} TRUE PARENT_SCOPE)
  endif()
endfunction()

# `path` with every link in the folders above it followed, the last name kept as it is (it
# may be a link the install lays); folders that do not exist yet are kept as named.
function(hand_install_resolved path out)
  get_filename_component(path "${path}" ABSOLUTE)
  get_filename_component(name "${path}" NAME)
  get_filename_component(above "${path}" DIRECTORY)
  set(rest "")
  while(NOT EXISTS "${above}" AND NOT above STREQUAL "/")
    get_filename_component(part "${above}" NAME)
    set(rest "/${part}${rest}")
    get_filename_component(above "${above}" DIRECTORY)
  endwhile()
  file(REAL_PATH "${above}" above)
  string(REGEX REPLACE "/$" "" above "${above}")
  set(${out} "${above}${rest}/${name}" PARENT_SCOPE)
endfunction()

# Before the first file is laid: the whole install is played once into a staging folder, and
# what it would lay and make is added to the record then, so that `uninstall` undoes any part
# of an install, one that failed half-way too. The record names the paths with the links
# above them followed, so that it still names what was laid when a link is moved. A file that
# is there already is recorded only once the install has laid it (hand_install_finish).
# `build` is the build folder, whose install script this is.
function(hand_install_begin record build)
  hand_install_is_hand(hand)
  if(NOT hand)
    return()
  endif()
  set(manifest "${build}/install_manifest.txt")
  if(CMAKE_INSTALL_COMPONENT)
    set(manifest "${build}/install_manifest_${CMAKE_INSTALL_COMPONENT}.txt")
  endif()
  # Another user's install from this build (one through sudo) leaves a manifest this one may
  # not write over; the install writes it anew at its end, so the old one goes.
  if(EXISTS "${manifest}")
    execute_process(COMMAND test -w "${manifest}" RESULT_VARIABLE unwritable)
    if(unwritable)
      file(REMOVE "${manifest}")
    endif()
  endif()
  execute_process(COMMAND mktemp -d --tmpdir colouring-book-staging.XXXXXX
                  OUTPUT_VARIABLE stage OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "cannot make a staging folder to list what the install lays")
  endif()
  set(options -DCMAKE_INSTALL_PREFIX=${CMAKE_INSTALL_PREFIX})
  foreach(passed CMAKE_INSTALL_CONFIG_NAME CMAKE_INSTALL_COMPONENT)
    if(DEFINED ${passed})
      list(APPEND options "-D${passed}=${${passed}}")
    endif()
  endforeach()
  execute_process(COMMAND ${CMAKE_COMMAND} -E env DESTDIR=${stage}
                          ${CMAKE_COMMAND} ${options} -P ${build}/cmake_install.cmake
                  RESULT_VARIABLE failed OUTPUT_QUIET ERROR_VARIABLE said)
  if(failed)
    file(REMOVE_RECURSE "${stage}")
    message(FATAL_ERROR "cannot list what the install lays:\n${said}")
  endif()
  file(GLOB_RECURSE staged LIST_DIRECTORIES true "${stage}/*")

  hand_install_read("${record}" files folders)
  string(LENGTH "${stage}" stage_length)
  foreach(path IN LISTS staged)
    set(staged_path "${path}")
    string(SUBSTRING "${path}" ${stage_length} -1 path)
    if(EXISTS "${path}" OR IS_SYMLINK "${path}")
      continue()
    endif()
    hand_install_resolved("${path}" resolved)
    if(IS_DIRECTORY "${staged_path}" AND NOT IS_SYMLINK "${staged_path}")
      list(APPEND folders "${resolved}")
    else()
      list(APPEND files "${resolved}")
    endif()
  endforeach()
  file(REMOVE_RECURSE "${stage}")
  list(REMOVE_DUPLICATES files)
  list(REMOVE_DUPLICATES folders)
  hand_install_write("${record}" "${files}" "${folders}")
  message(STATUS "Recorded for uninstall: ${record}")
endfunction()

# After the last file: adds the files the install laid over ones that were there before.
function(hand_install_finish record)
  hand_install_is_hand(hand)
  if(NOT hand)
    return()
  endif()
  hand_install_read("${record}" files folders)
  foreach(path IN LISTS CMAKE_INSTALL_MANIFEST_FILES)
    hand_install_resolved("${path}" resolved)
    list(APPEND files "${resolved}")
  endforeach()
  list(REMOVE_DUPLICATES files)
  hand_install_write("${record}" "${files}" "${folders}")
endfunction()
