# find_package(Lumitra): the Lumitra::RLib target, from a build tree or an
# installation.
include(CMakeFindDependencyMacro)
find_dependency(Qt6 6.4 COMPONENTS Core Gui Widgets)
include(${CMAKE_CURRENT_LIST_DIR}/LumitraTargets.cmake)
