// Target specification of a shortcut: "path?option?option,arguments", taken apart in place.
#pragma once

// The pieces of one target specification. Every pointer points into the parsed text, each
// piece NUL-terminated and trimmed of white space at both ends.
struct TargetSpec {
    char* path;           // text before the first "?" (or before the comma)
    char* arguments;      // text after the first comma; null when there is no comma
    char* iconFile;       // text after "=" of the last icon option; null when it names none
    char* workingFolder;  // the last working-folder option; null when there is none
    int iconIndex;        // leading digits of the last icon option; -1 without an icon option
};

// Takes text apart in place. An option whose first byte is a decimal digit is an icon option
// ("1" or "1=file"); any other option, the empty one included, names the working folder.
// The last option of each kind counts; a later icon option without "=" drops an earlier file.
void ParseTargetSpec(char* text, TargetSpec* spec);
