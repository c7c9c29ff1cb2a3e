// The application's image as the loader sees it, for the tests that read it
// and for those that can run it only once every import binds.
#pragma once
#include <string>
#include <vector>

struct RuntimeImport {
  std::string name;
  bool relative;
};

// The runtime imports of the image behind bin/tavrin, in record order (a
// failure is added when there is no image).
std::vector<RuntimeImport> ReadRuntimeImports();

// The names the runtime's export table cannot bind, once, after start-up has
// registered every built-in class; empty when everything binds.
const std::vector<std::string> &UnboundImports();

// "N imports not bound yet: A B C" for a skip message.
std::string DescribeUnbound(const std::vector<std::string> &unbound);
