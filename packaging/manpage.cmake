# SPDX-License-Identifier: GPL-2.0-or-later
# Writes a program's manual page from its --help with help2man; for gallivex-cli the --help of
# every command goes in too. cmake -DPROGRAM= -DNAME= -DSUMMARY= -DVERSION= -DOUTPUT=
# [-DCOMMANDS=a;b] -P manpage.cmake
set(include ${OUTPUT}.h2m)
set(text "[FILES]\n.TP\n~/.local/share/Vellora/Gallivex/plugins/\nplug-ins of the user's own\n")
string(APPEND text ".TP\n~/.local/share/Vellora/Gallivex/templates/\nthemes the user installed\n")
string(APPEND text "[SEE ALSO]\n.BR gallivex (1),\n.BR gallivex-cli (1),\n.BR lumivex (1),\n.BR morlune (1)\n")
if(COMMANDS)
    string(APPEND text "[COMMANDS]\n")
    foreach(command IN LISTS COMMANDS)
        execute_process(COMMAND ${PROGRAM} ${command} --help OUTPUT_VARIABLE help
            RESULT_VARIABLE failed)
        if(failed)
            message(FATAL_ERROR "${PROGRAM} ${command} --help failed")
        endif()
        string(REPLACE "\\" "\\e" help "${help}")
        string(APPEND text ".SS ${command}\n.nf\n${help}.fi\n")
    endforeach()
endif()
file(WRITE ${include} "${text}")
execute_process(COMMAND help2man --no-info --no-discard-stderr --version-string=${VERSION}
        --name=${SUMMARY} --include=${include} --output=${OUTPUT} ${PROGRAM}
    RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "help2man could not write the manual page of ${PROGRAM}")
endif()
