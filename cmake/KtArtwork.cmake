# SPDX-License-Identifier: GPL-3.0-or-later
# The artwork as PNG resources: each SVG picture of the repository is rendered at build time by
# kt-rasterize (the build machine's Qt Svg) and compiled in with rcc. The program then needs no
# Svg module at run time, which the Qt cross-built for Windows does not have.
#
# kt_add_artwork(<target> <resource-name> PREFIX <prefix>
#                PICTURES <file.svg> <width> <height> [<file.svg> <width> <height> ...])
# A picture is served as <prefix>/<name>.png, rendered at width x height pixels: draw it at
# several times the largest size a window shows it, so it stays sharp on dense screens.
function(kt_add_artwork target resource)
    cmake_parse_arguments(PARSE_ARGV 2 ARG "" "PREFIX" "PICTURES")
    list(LENGTH ARG_PICTURES count)
    math(EXPR rest "${count} % 3")
    if(count EQUAL 0 OR NOT rest EQUAL 0)
        message(FATAL_ERROR "kt_add_artwork: PICTURES takes triples of file, width and height")
    endif()
    set(out_dir ${CMAKE_CURRENT_BINARY_DIR}/artwork-${resource})
    set(pngs)
    math(EXPR last "${count} - 1")
    foreach(i RANGE 0 ${last} 3)
        math(EXPR wi "${i} + 1")
        math(EXPR hi "${i} + 2")
        list(GET ARG_PICTURES ${i} svg)
        list(GET ARG_PICTURES ${wi} width)
        list(GET ARG_PICTURES ${hi} height)
        get_filename_component(svg ${svg} ABSOLUTE)
        get_filename_component(name ${svg} NAME_WE)
        set(png ${out_dir}/${name}.png)
        add_custom_command(OUTPUT ${png}
            COMMAND ${CMAKE_COMMAND} -E make_directory ${out_dir}
            COMMAND ${KT_RASTERIZE} ${svg} ${png} ${width} ${height}
            DEPENDS ${svg} ${KT_RASTERIZE}
            COMMENT "Rendering ${name}.png"
            VERBATIM)
        list(APPEND pngs ${png})
    endforeach()
    qt_add_resources(${target} ${resource} PREFIX ${ARG_PREFIX} BASE ${out_dir} FILES ${pngs})
endfunction()
