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

# The policy lets in the page's own inline scripts and styles by their hashes rather than any inline code:
# 'sha256-' and the base64 of the digest of the element's text as the browser has it. CMake has SHA-256 but
# no base64, so the hex digest is recoded three bytes (six hex digits, four characters) at a time; the
# digest's 32 bytes end in two, which make three characters and one "=".
function(csp_hash text out)
    string(REPLACE "\r\n" "\n" text "${text}") # the parser's line breaks
    string(REPLACE "\r" "\n" text "${text}")
    string(SHA256 hex "${text}")
    set(alphabet "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/")
    set(base64 "")
    foreach(at RANGE 0 63 6)
        string(SUBSTRING "${hex}" ${at} 6 group)
        string(LENGTH "${group}" digits)
        math(EXPR chars "${digits} / 2 + 1")
        string(APPEND group "0000")
        string(SUBSTRING "${group}" 0 6 group)
        math(EXPR value "0x${group}")
        foreach(i RANGE 1 ${chars})
            math(EXPR index "(${value} >> (24 - 6 * ${i})) & 63")
            string(SUBSTRING "${alphabet}" ${index} 1 c)
            string(APPEND base64 "${c}")
        endforeach()
    endforeach()
    set(${out} "'sha256-${base64}='" PARENT_SCOPE)
endfunction()

# Hashes of the inline <script> and <style> elements of `html`, in order; a script of another type is a
# data block, not run, and needs none. The text of each is skipped whole, so markup inside it is not
# taken for elements.
function(inline_hashes html scripts styles)
    string(TOLOWER "${html}" lower)
    set(script_hashes "")
    set(style_hashes "")
    set(from 0)
    while(TRUE)
        string(SUBSTRING "${lower}" ${from} -1 rest)
        string(REGEX MATCH "<(script|style)([ \t\r\n][^>]*)?>" open "${rest}")
        if(open STREQUAL "")
            break()
        endif()
        set(tag ${CMAKE_MATCH_1})
        string(FIND "${rest}" "${open}" at)
        string(LENGTH "${open}" length)
        math(EXPR start "${from} + ${at} + ${length}")
        string(SUBSTRING "${lower}" ${start} -1 rest)
        string(FIND "${rest}" "</${tag}" length)
        if(length EQUAL -1)
            message(FATAL_ERROR "a <${tag}> element is not closed")
        endif()
        math(EXPR from "${start} + ${length}")
        if(tag STREQUAL "script" AND open MATCHES "[ \t\r\n]type="
           AND NOT open MATCHES "type=[\"']?(module|text/javascript)")
            continue()
        endif()
        string(SUBSTRING "${html}" ${start} ${length} text)
        csp_hash("${text}" hash)
        list(APPEND ${tag}_hashes "${hash}")
    endwhile()
    set(${scripts} "${script_hashes}" PARENT_SCOPE)
    set(${styles} "${style_hashes}" PARENT_SCOPE)
endfunction()

# Only the policy's own place is filled: the same words inside inlined text would change what was hashed.
function(replace_first placeholder value)
    string(FIND "${page}" "${placeholder}" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "the page's policy has no ${placeholder}")
    endif()
    string(LENGTH "${placeholder}" length)
    string(SUBSTRING "${page}" 0 ${at} before)
    math(EXPR at "${at} + ${length}")
    string(SUBSTRING "${page}" ${at} -1 after)
    set(page "${before}${value}${after}" PARENT_SCOPE)
endfunction()

inline_hashes("${page}" scripts styles)
# The help is shown in a frame from srcdoc, which lives under the page's policy: its style needs a hash too.
# Its scripts, if it had any, do not run in the sandbox.
inline_hashes("${help}" unused help_styles)
list(APPEND styles ${help_styles})
list(JOIN scripts " " scripts)
list(JOIN styles " " styles)
replace_first("/*SCRIPT-HASHES*/" "${scripts}")
replace_first("/*STYLE-HASHES*/" "${styles}")
file(WRITE ${OUT} "${page}")
