# The bundled "Graphite" skin: skins/graphite/graphite.skn + the pictures graphite_gen draws -> an archive a
# user can drop in beside the program as dbskin.dat, at <build>/skins/graphite/dbskin.dat (with a contact
# sheet of its pictures).
add_executable(graphite_gen graphite_gen.cpp)
target_link_libraries(graphite_gen PRIVATE skin_generator)

set(graphite_src ${PROJECT_SOURCE_DIR}/skins/graphite/graphite.skn)
set(graphite_dir ${PROJECT_BINARY_DIR}/skins/graphite)
add_custom_command(
  OUTPUT ${graphite_dir}/dbskin.dat ${graphite_dir}/contact_sheet.png
  COMMAND ${CMAKE_COMMAND} -E make_directory ${graphite_dir}
  COMMAND ${CMAKE_COMMAND} -E copy ${graphite_src} ${graphite_dir}/graphite.skn
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen $<TARGET_FILE:graphite_gen> ${graphite_dir}/graphite.skn ${graphite_dir}
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen $<TARGET_FILE:skinpack> ${graphite_dir}/graphite.skn
          --archive ${graphite_dir}/dbskin.dat --sheet ${graphite_dir}/contact_sheet.png
  DEPENDS graphite_gen skinpack ${graphite_src}
  COMMENT "Drawing and packing the Graphite skin"
  VERBATIM)
add_custom_target(graphite_skin ALL DEPENDS ${graphite_dir}/dbskin.dat)
