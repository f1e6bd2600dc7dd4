// The one function of the picture module, casttool_picture.so: an image file
// made into the bytes of a cast picture by Qt's image readers. The module
// lies beside casttool and is loaded only by the picture command, so that
// every other command starts without Qt and its many libraries (which would
// take most of the memory a list of 100,000 casts may use).
//
// No memory and no exception crosses the boundary: the result is handed to
// a function of the caller while the module still holds it.
#pragma once

#include <cstddef>

// The module's file name, and the name of its function.
#define CASTTOOL_PICTURE_MODULE "casttool_picture.so"
#define CASTTOOL_PICTURE_FUNCTION "CastToolPictureFromImageFile"

// Called once with the picture's bytes (and a null `error`), or with no bytes
// and the failure's text naming the file and the reason.
typedef void (*CastToolPictureResult)(void* context, const unsigned char* bytes, std::size_t size,
                                      const char* error);

// Reads the image file `path` as pictureimport::CastPictureFromImageFile
// does and hands the outcome to `result`.
extern "C" __attribute__((visibility("default"))) void CastToolPictureFromImageFile(const char* path,
                                                                                     CastToolPictureResult result,
                                                                                     void* context);
