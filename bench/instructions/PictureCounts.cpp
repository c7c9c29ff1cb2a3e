// Runs one side of a picture benchmark pair a given number of times, so that
// count-instructions.sh can count what one call costs (the difference of two
// run lengths leaves out start-up and set-up). Needs a display. Usage:
// picturecount <operation> <times>; no argument lists the operations.
#include <gtk/gtk.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "PictureOperations.h"

namespace {

template <typename Pair, void (Pair::*side)()>
void Run(int times) {
  Pair pair;
  for (int i = 0; i < times; ++i)
    (pair.*side)();
}

struct Operation {
  const char *name;
  void (*run)(int times);
};

const Operation kOperations[] = {
    {"PackPicture", Run<PackPair, &PackPair::Ours>},
    {"PackPixbufByHand", Run<PackPair, &PackPair::ByHand>},
    {"ThickOvalThroughThePlotter", Run<ThickOvalPair, &ThickOvalPair::Ours>},
    {"ThickOvalRingByHand", Run<ThickOvalPair, &ThickOvalPair::ByHand>},
};

} // namespace

int main(int argc, char **argv) {
  if (argc < 3) {
    for (const Operation &operation : kOperations)
      std::printf("%s\n", operation.name);
    return 0;
  }
  if (!gtk_init_check(nullptr, nullptr)) {
    std::fprintf(stderr, "no display\n");
    return 77;
  }
  for (const Operation &operation : kOperations)
    if (std::strcmp(operation.name, argv[1]) == 0) {
      operation.run(std::atoi(argv[2]));
      // Every request reaches the X server before the program ends, so
      // that the server's share can be counted too.
      gdk_display_sync(gdk_display_get_default());
      return 0;
    }
  std::fprintf(stderr, "no operation %s\n", argv[1]);
  return 2;
}
