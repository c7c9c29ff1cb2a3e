// Mutants of a valid byte string for the parsers' hostile-input tests: up to
// four changes, each a byte overwritten, one to three bytes cut or a byte
// inserted, drawn from the caller's seeded generator so a failure repeats.
#pragma once
#include <random>
#include <string>

inline std::string SeededMutant(const std::string &valid, std::mt19937 &random) {
  std::string mutant = valid.empty() ? std::string("x") : valid;
  for (int k = random() % 4; k >= 0; --k) {
    size_t at = random() % mutant.size();
    switch (random() % 3) {
    case 0:
      mutant[at] = static_cast<char>(random());
      break;
    case 1:
      mutant.erase(at, 1 + random() % 3);
      break;
    default:
      mutant.insert(at, 1, static_cast<char>(random()));
      break;
    }
    if (mutant.empty())
      mutant = "x";
  }
  return mutant;
}
