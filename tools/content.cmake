# The content build: each part under tools/ (pictures, audio, tables, model)
# adds a target content_<part> that writes its files under build/game/.
# game_data gathers them; the game and the tests depend on it.
add_custom_target(game_data ALL)
foreach(part pictures audio tables model fonts)
  if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${part}/CMakeLists.txt)
    add_subdirectory(${part})
    add_dependencies(game_data content_${part})
  endif()
endforeach()
