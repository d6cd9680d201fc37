// The arguments of MSGBOX.EXE: "/f:0 /c:<caption> /t:<text>".
//
// "/t:" takes the rest of the line as the text (so the text may hold "/c:" or "/f:"). Before it
// "/c:" and "/f:" may come in any order, each running up to the next switch; the value of "/f:"
// is ignored. Switches start the arguments or follow a blank, and their letters may be in either
// case. A switch quoted as a whole ("/c:velmar chronivo", as shells quote words with blanks) loses
// its quotes. Without "/t:" there is no text to show.
#pragma once

#include <string>

struct MsgboxArguments {
    bool hasText = false;
    std::string caption;
    std::string text;

    bool operator==(const MsgboxArguments&) const = default;
};

// 'arguments' is the command line without the program's name.
MsgboxArguments ParseMsgboxArguments(const std::string& arguments);
// The command line without the program's name (quoted or not) and the blanks after it.
std::string ArgumentsOf(const char* commandLine);
