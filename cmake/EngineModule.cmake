# Builds one engine-style module: a shared library from <Dir>/Private/**.cpp with <Dir>/Public on its include path.
# Headers that include their "<Name>.generated.h" go through the header tool, which writes the generated headers
# and one reflection source for the module into the build tree.

set(HEADER_TOOL ${CMAKE_SOURCE_DIR}/EngineSurface/HeaderTool/HeaderTool.py)
# Writes docs/Widgets.md, the designer's guide, from the reflection data of the modules' headers.
set(WIDGET_GUIDE ${CMAKE_SOURCE_DIR}/EngineSurface/HeaderTool/WidgetGuide.py)

# Runs the header tool over the reflected headers among Headers; sets OutSources to the generated sources.
function(run_header_tool Target Module GenDir Headers OutSources)
	set(Reflected)
	set(Outputs)
	foreach(Header ${Headers})
		file(STRINGS ${Header} Hits REGEX "^#include \".*\\.generated\\.h\"")
		if(Hits)
			list(APPEND Reflected ${Header})
			get_filename_component(Base ${Header} NAME_WE)
			list(APPEND Outputs ${GenDir}/${Base}.generated.h)
		endif()
	endforeach()
	if(NOT Reflected)
		set(${OutSources} "" PARENT_SCOPE)
		return()
	endif()
	list(APPEND Outputs ${GenDir}/${Module}.gen.cpp)
	add_custom_command(
		OUTPUT ${Outputs}
		COMMAND ${Python3_EXECUTABLE} ${HEADER_TOOL} --module ${Module} --output ${GenDir} ${Reflected}
		DEPENDS ${Reflected} ${HEADER_TOOL}
		COMMENT "Generating reflection for ${Module}"
		VERBATIM)
	add_custom_target(${Target}_Reflection DEPENDS ${Outputs})
	set(${OutSources} ${GenDir}/${Module}.gen.cpp PARENT_SCOPE)
endfunction()

function(add_engine_module Name)
	cmake_parse_arguments(M "" "DIR" "DEPS;PRIVATE_DEPS;LIBS;PRIVATE_INCLUDES" ${ARGN})
	file(GLOB_RECURSE Sources CONFIGURE_DEPENDS ${M_DIR}/Private/*.cpp)
	file(GLOB_RECURSE Headers CONFIGURE_DEPENDS ${M_DIR}/Public/*.h ${M_DIR}/Private/*.h)
	set(GenDir ${CMAKE_BINARY_DIR}/Generated/${Name})
	run_header_tool(${Name} ${Name} ${GenDir} "${Headers}" GenSources)
	add_library(${Name} SHARED ${Sources} ${GenSources} ${Headers})
	if(GenSources)
		add_dependencies(${Name} ${Name}_Reflection)
	endif()
	string(TOUPPER ${Name} Upper)
	target_compile_definitions(${Name} PUBLIC ${Upper}_API=DLLEXPORT)
	target_include_directories(${Name} PUBLIC ${M_DIR}/Public ${GenDir} PRIVATE ${M_DIR}/Private ${M_PRIVATE_INCLUDES})
	target_link_libraries(${Name} PUBLIC ${M_DEPS} PRIVATE ${M_PRIVATE_DEPS} ${M_LIBS})
	set_target_properties(${Name} PROPERTIES LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/lib)
endfunction()

# A test or tool executable whose own headers may declare reflected classes (registered under /Script/<Name>).
function(add_engine_executable Name)
	cmake_parse_arguments(M "" "DIR" "SOURCES;DEPS" ${ARGN})
	file(GLOB_RECURSE Headers CONFIGURE_DEPENDS ${M_DIR}/*.h)
	set(GenDir ${CMAKE_BINARY_DIR}/Generated/${Name})
	run_header_tool(${Name} ${Name} ${GenDir} "${Headers}" GenSources)
	add_executable(${Name} ${M_SOURCES} ${GenSources} ${Headers})
	if(GenSources)
		add_dependencies(${Name} ${Name}_Reflection)
	endif()
	target_include_directories(${Name} PRIVATE ${M_DIR} ${GenDir})
	target_link_libraries(${Name} PRIVATE ${M_DEPS})
endfunction()
