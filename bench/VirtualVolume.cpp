// Virtual volumes against plain files in a temporary folder: a 16 MiB stream
// written and read back in 64 KiB pieces, and 2,000 files of 1 KiB each
// created, written and read back. The volume file and the plain files both
// live in the temporary folder, so the ratio is the cost of the volume's
// blocks, maps and object headers over the file system's own.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "foundation/UnixDataFile.h"
#include "foundation/VFile.h"
#include "foundation/VHFSVolume.h"

namespace {

constexpr long kStreamBytes = 16L << 20;
constexpr long kPiece = 64 << 10;
constexpr int kFiles = 2000;
constexpr long kFileBytes = 1024;
constexpr VFileType kData = 0x44415441; // "DATA"

class TempFolder {
public:
  TempFolder() {
    char pattern[] = "/tmp/volumebenchXXXXXX";
    mPath = mkdtemp(pattern);
  }
  ~TempFolder() { std::filesystem::remove_all(mPath); }
  std::string Path(const std::string &name) const { return mPath + "/" + name; }

private:
  std::string mPath;
};

std::unique_ptr<VHFSVolume> NewVolume(const TempFolder &folder) {
  UnixDataFile *file = new UnixDataFile;
  file->Create(string(folder.Path("volume").c_str()));
  file->SetBigEndian();
  file->mSwapDoubles = 1;
  return std::unique_ptr<VHFSVolume>(VHFSVolume::Create(file, true));
}

void VolumeStream16MiB(benchmark::State &state) {
  const std::string piece(kPiece, 'v');
  std::string back(kPiece, '\0');
  for (auto _ : state) {
    TempFolder folder;
    auto volume = NewVolume(folder);
    const VFileRef ref = volume->CreateFile(volume->GetRoot(), "stream", kData);
    std::unique_ptr<VFile> file(volume->OpenFile(ref));
    for (long at = 0; at < kStreamBytes; at += kPiece)
      file->WriteData(piece.data(), kPiece);
    file->SeekFromStart(0);
    long got = 0;
    for (long at = 0; at < kStreamBytes; at += kPiece)
      file->ReadData(&back[0], kPiece, got);
    benchmark::DoNotOptimize(back.data());
    file.reset();
    volume.reset();
  }
  state.SetBytesProcessed(state.iterations() * kStreamBytes * 2);
}
BENCHMARK(VolumeStream16MiB)->Unit(benchmark::kMillisecond);

void PlainFileStream16MiB(benchmark::State &state) {
  const std::string piece(kPiece, 'v');
  std::string back(kPiece, '\0');
  for (auto _ : state) {
    TempFolder folder;
    FILE *file = std::fopen(folder.Path("stream").c_str(), "w+b");
    for (long at = 0; at < kStreamBytes; at += kPiece)
      std::fwrite(piece.data(), 1, kPiece, file);
    std::fseek(file, 0, SEEK_SET);
    for (long at = 0; at < kStreamBytes; at += kPiece)
      benchmark::DoNotOptimize(std::fread(&back[0], 1, kPiece, file));
    std::fclose(file);
  }
  state.SetBytesProcessed(state.iterations() * kStreamBytes * 2);
}
BENCHMARK(PlainFileStream16MiB)->Unit(benchmark::kMillisecond);

void VolumeManyFiles(benchmark::State &state) {
  const std::string bytes(kFileBytes, 'f');
  std::string back(kFileBytes, '\0');
  for (auto _ : state) {
    TempFolder folder;
    auto volume = NewVolume(folder);
    const VFileRef root = volume->GetRoot();
    std::vector<VFileRef> refs;
    for (int i = 0; i < kFiles; ++i) {
      refs.push_back(volume->CreateFile(root, ("file" + std::to_string(i)).c_str(), kData));
      std::unique_ptr<VFile> file(volume->OpenFile(refs.back()));
      file->WriteData(bytes.data(), kFileBytes);
    }
    long got = 0;
    for (const VFileRef &ref : refs) {
      std::unique_ptr<VFile> file(volume->OpenFile(ref));
      file->ReadData(&back[0], kFileBytes, got);
    }
    benchmark::DoNotOptimize(back.data());
    volume.reset();
  }
  state.SetItemsProcessed(state.iterations() * kFiles);
}
BENCHMARK(VolumeManyFiles)->Unit(benchmark::kMillisecond);

void PlainManyFiles(benchmark::State &state) {
  const std::string bytes(kFileBytes, 'f');
  std::string back(kFileBytes, '\0');
  for (auto _ : state) {
    TempFolder folder;
    for (int i = 0; i < kFiles; ++i) {
      FILE *file = std::fopen(folder.Path("file" + std::to_string(i)).c_str(), "wb");
      std::fwrite(bytes.data(), 1, kFileBytes, file);
      std::fclose(file);
    }
    for (int i = 0; i < kFiles; ++i) {
      FILE *file = std::fopen(folder.Path("file" + std::to_string(i)).c_str(), "rb");
      benchmark::DoNotOptimize(std::fread(&back[0], 1, kFileBytes, file));
      std::fclose(file);
    }
  }
  state.SetItemsProcessed(state.iterations() * kFiles);
}
BENCHMARK(PlainManyFiles)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
