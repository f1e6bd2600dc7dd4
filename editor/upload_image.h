// The upload image "dat/orv_up.png": the cast picture that Picture1 shows, as
// a PNG image for the upload page.
//
// The image is the 64 x 64 pixels at the top left of the picture the box
// shows, drawn on the box's background colour: a picture smaller than that,
// or none at all (before any load), leaves background pixels. The box shows
// what the last load put into it, so after a new name has been typed it is
// still the picture of the cast loaded before.
#pragma once

#include <filesystem>

class QLabel;

inline constexpr int kUploadImageSide = 64;

// Writes the image of `picture` to `path` as PNG, replacing the file whole
// through the safe rewrite (a temporary file beside it, then a rename).
// Throws castdata::Error naming the file and the reason when it cannot be
// made; an older file is then left as it was.
void WriteUploadImage(const QLabel& picture, const std::filesystem::path& path);
