// Where a user's settings and files live. By default Vorn keeps its settings
// (Vorn.ini, desktops, Ranges.ini) in the user's configuration folder and the
// databases' user folders (user tags, propositions, annotations) in the
// user's data folder, as Linux desktop programs do. A folder that already
// holds a Vorn.ini — the working folder, else the program's folder — keeps
// everything beside it instead: the portable layout, in which nothing moves
// for users who have always kept their files there.
#pragma once

#include <string>

namespace vorn::platform {

struct UserPlaces {
  std::string config_folder;  // Vorn.ini, StartUp.vdt and other desktops, Ranges.ini
  std::string data_folder;    // holds the user folder of each database
  bool portable = false;      // both are the folder that held a Vorn.ini
};

// Decides the places for a program started in `working_folder` whose
// executable is in `program_folder` (either may be empty):
// - the first of the two that holds a file "Vorn.ini" is both places;
// - otherwise $XDG_CONFIG_HOME/vorn and $XDG_DATA_HOME/vorn, each variable
//   used only when it holds an absolute path, else $HOME/.config/vorn and
//   $HOME/.local/share/vorn;
// - without an absolute $HOME either, the working folder is both places.
// Reads the environment and looks for the files; creates nothing.
UserPlaces FindUserPlaces(const std::string& working_folder, const std::string& program_folder);

}  // namespace vorn::platform
