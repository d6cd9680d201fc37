// The caption of the library's button "vlmrbutton1132":
//   "{&G}:Gehe zu Datensatz"  a picture button with the mnemonic G and the tooltip text
//   ":Fett"                   a picture button without mnemonic, with the tooltip text
//   ""                        a picture button without tooltip (the help button 18, for instance)
//   anything else             a text button showing the caption as the system button does
// The picture is chosen by the control id (ButtonPictures.h). The window text stays the caption.
#pragma once

#include <string>

struct ButtonCaption {
    bool picture = false;
    char mnemonic = 0;   // upper case; 0: none
    std::string tooltip; // empty: none

    bool operator==(const ButtonCaption&) const = default;
};

ButtonCaption ParseButtonCaption(const char* caption);
