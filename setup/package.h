// Package: the description of one package as loaded from its setup information file. Filled
// once, before any mode runs; every part of the program then reads it through a const
// reference, and nothing it describes changes while the program runs.
#pragma once

#include "base/path.h"

constexpr size_t kTitleCapacity = 100;
// The optional texts of the uninstall entry, at most 63 and 99 bytes: one byte more shows a
// longer value, which is left out, never cut.
constexpr size_t kVersionCapacity = 65;
constexpr size_t kPublisherCapacity = 101;

struct Package {
    char sourceDir[kPathCapacity];       // folder of the working path, with trailing separator
    char exeName[kPathCapacity];         // file name of the working path
    char infPath[kPathCapacity];         // the setup information file
    char infName[kPathCapacity];
    char title[kTitleCapacity];
    char installKey[kPathCapacity];      // name of the uninstall entry's key
    char shortcutTarget[kPathCapacity];  // the desktop shortcut's target, below the destination
    char version[kVersionCapacity];      // shown in the system's list of programs; empty: none given
    char publisher[kPublisherCapacity];
    bool residentProgram;
    bool keepForeignFiles;
    int fileCount;
    int groupCount;
};
