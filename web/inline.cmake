# SPDX-FileCopyrightText: 2026 Klavoset developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Puts the page together as one file: style, toolbar pictures, help page, the compiled editor and the
# page's script inlined into the template. Run as: cmake -DSRC=web/ -DHELP=... -DICONS=... -DMODULE=...
# -DOUT=... -P inline.cmake
cmake_minimum_required(VERSION 3.25) # a script has no project to set the policies
file(READ ${SRC}/klavoset.html page)
file(READ ${SRC}/klavoset.css style)
file(READ ${SRC}/klavoset.js script)
file(READ ${MODULE} module)
file(READ ${HELP} help)

set(icons "")
foreach(n RANGE 1 21)
    if(n LESS 10)
        set(name 0${n})
    else()
        set(name ${n})
    endif()
    file(READ ${ICONS}/${name}.svg svg)
    string(REPLACE "<svg " "<svg data-image=\"${n}\" " svg "${svg}")
    string(APPEND icons "${svg}")
endforeach()

# Inlined text must not change where the element it sits in ends. HTML matches the end tag in any case,
# and in script text a "<!--" followed by "<script" keeps the next end tag from ending the element.
foreach(part module script help style)
    set(end "</script")
    if(part STREQUAL "style")
        set(end "</style")
    endif()
    string(TOLOWER "${${part}}" lower)
    string(FIND "${lower}" "${end}" at)
    if(NOT at EQUAL -1)
        message(FATAL_ERROR "${part} holds ${end} and cannot be inlined")
    endif()
    if(end STREQUAL "</script" AND lower MATCHES "<!--.*<script")
        message(FATAL_ERROR "${part} holds <!-- before <script and cannot be inlined")
    endif()
endforeach()

string(REPLACE "/*STYLE*/" "${style}" page "${page}")
string(REPLACE "<!--ICONS-->" "${icons}" page "${page}")
string(REPLACE "<!--HELP-->" "${help}" page "${page}")
string(REPLACE "/*PAGE*/" "${script}" page "${page}")
# Last: the module is large, and nothing is searched for in it.
string(REPLACE "/*MODULE*/" "${module}" page "${page}")
file(WRITE ${OUT} "${page}")
