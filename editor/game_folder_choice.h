// The game folder the editor runs on, made its working folder before the
// window is built.
//
// The folder given with -C is taken as it stands (the start-up then says what
// it lacks). Without -C the editor looks, in this order, at the working
// folder, the folder above the program's own folder (the installed layout
// GAME/bin/cast, so that a menu or a file manager can start it) and the game
// folder used last, and takes the first that holds the version file. When
// none does it says so, naming the folders it tried, and offers to choose
// one; a chosen folder without the version file gets the same message again.
// Every game folder the editor opens is remembered (QSettings, in the user's
// configuration folder) for the next start.
#pragma once

#include <QString>

#include <optional>

// Finds the game folder, makes it the working folder and remembers it. False
// when there is none to run on (the folder given with -C is missing, or the
// player chose none): the reason has been written to standard error and the
// program ends with status 2.
bool EnterGameFolder(const std::optional<QString>& givenFolder);
