// The player behind a Sound object; SoundImp::New makes the platform's.
#pragma once

class FolderItemImp;

class SoundImp {
public:
  static SoundImp *New();

  // The virtual operations, in their slot order.
  virtual ~SoundImp() = default;
  virtual SoundImp *Clone() = 0;
  virtual void Play() = 0;
  virtual void PlayLooping() = 0;
  virtual bool IsPlaying() = 0;
  virtual void Stop() = 0;
  virtual void SetVolume(long) {}
  virtual void SetPan(long) {}
  virtual long GetVolume() { return 100; }
  virtual long GetPan() { return 0; }
};
