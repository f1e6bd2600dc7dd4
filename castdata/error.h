// The failure of a castdata operation. Its text names the file and what is
// wrong, in Japanese like every text the user sees, so that the window can
// show it as it stands.
#pragma once

#include <stdexcept>
#include <string>

namespace castdata {

class Error : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace castdata
