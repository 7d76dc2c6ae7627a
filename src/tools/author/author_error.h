#pragma once
// A fault in what an author handed to kestrel-author (a file that does not parse, a track that
// cannot give a table): the message says what and where; the program prints it and ends with
// status 2, never with a partial table.
#include <stdexcept>
#include <string>

namespace kestrel::author {

class AuthorError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace kestrel::author
