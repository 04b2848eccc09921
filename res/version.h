// The version of the programs and of the release bundle, in one place: the version resources
// include it, and the build reads FILE_VERSION_TEXT from it for the bundle's name.
#pragma once

#define VERSION_NUMBERS 1,0,0,1
#define FILE_VERSION_TEXT "1.0.0.1"
#define PRODUCT_VERSION_TEXT "1.0"
