# Run by CPack on the staged tree, before it is packed: every directory 0755, whatever
# the umask of whoever builds the package (policy wants no other directory mode, and
# CPack makes the upper ones with the umask).
file(GLOB_RECURSE vx_staged LIST_DIRECTORIES true "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*")
foreach(entry IN LISTS vx_staged)
  if(IS_DIRECTORY "${entry}" AND NOT IS_SYMLINK "${entry}")
    file(CHMOD "${entry}" DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE
         GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
  endif()
endforeach()
