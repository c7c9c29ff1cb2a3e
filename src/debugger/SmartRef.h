// A counted reference to one shared record that owns an object. The last
// reference to go destroys the object; a destructor that releases further
// references only queues their records, so destruction never recurses. The
// lock counts are part of the record but nothing takes a lock.
#pragma once
#include <cstdint>

#include "foundation/AssertionAlert.h"

inline constexpr char kSmartRefAlertSource[] = "Compiler/SmartRef";
inline constexpr AlertSite kRefUnlockUnboundAlert{kSmartRefAlertSource, 309, "mRep"};
inline constexpr AlertSite kRefLockCountAlert{kSmartRefAlertSource, 311,
                                              "mRep->mLockCount >= 0"};
inline constexpr AlertSite kRefCountAlert{kSmartRefAlertSource, 351, "mRep->mRefCount >= 0"};
inline constexpr AlertSite kRefAddressAlert{kSmartRefAlertSource, 353,
                                            "(unsigned long)mRep >= 0x1000"};
inline constexpr AlertSite kRefStillCountedAlert{kSmartRefAlertSource, 133,
                                                 "not mRefCount and not mLockCount"};

// The records waiting to be destroyed, shared by every RefRep type.
struct RefRepBase {
  virtual ~RefRepBase() = default;
  // Deletes the owned object (through its virtual destructor).
  virtual void DeleteObject() = 0;

  int16_t mRefCount = 1;
  int16_t mLockCount = 0;
  int16_t mDeletePending = 0;
  RefRepBase *mNext = nullptr;

  // Queues the record and, unless a destroy loop already runs further up,
  // destroys every queued record.
  static void Destroy(RefRepBase *rep) {
    rep->mNext = sDestroyList;
    sDestroyList = rep;
    ++rep->mRefCount; // counted while it waits
    if (sDestroyerBusy)
      return;
    sDestroyerBusy = true;
    while (RefRepBase *head = sDestroyList) {
      sDestroyList = head->mNext;
      --head->mRefCount;
      if (head->mRefCount != 0 || head->mLockCount != 0)
        ShowAlert(kRefStillCountedAlert);
      head->DeleteObject();
      delete head;
    }
    sDestroyerBusy = false;
  }

  static inline RefRepBase *sDestroyList = nullptr;
  static inline bool sDestroyerBusy = false;
};

template <typename T> struct RefRep : RefRepBase {
  explicit RefRep(T *object) : mObject(object) {}
  void DeleteObject() override {
    if (mObject) {
      T *object = mObject;
      mObject = nullptr;
      delete object;
    }
  }
  T *mObject;
};

template <typename T> class Ref {
public:
  Ref() = default;
  // Binds a new object: a record counting this one reference.
  explicit Ref(T *object) {
    if (object)
      mRep = new RefRep<T>(object);
  }
  Ref(const Ref &other) : mRep(other.mRep) {
    if (mRep)
      ++mRep->mRefCount;
  }
  Ref &operator=(const Ref &other) {
    if (this != &other) {
      Ref copy(other);
      Unbind();
      mRep = copy.mRep;
      if (mRep)
        ++mRep->mRefCount;
    }
    return *this;
  }
  ~Ref() { Unbind(); }

  // Bound: the record exists and holds an object.
  bool IsBound() const { return mRep && mRep->mObject; }
  T *Get() const { return mRep ? mRep->mObject : nullptr; }
  T *operator->() const { return Get(); }
  int16_t RefCount() const { return mRep ? mRep->mRefCount : 0; }

  void Unbind() {
    if (!mRep)
      return;
    Unlock();
    RefRep<T> *rep = mRep;
    mRep = nullptr;
    --rep->mRefCount;
    if (rep->mRefCount < 0)
      ShowAlert(kRefCountAlert);
    if (rep->mRefCount == 0) {
      if (reinterpret_cast<uintptr_t>(rep) < 0x1000)
        ShowAlert(kRefAddressAlert);
      else
        RefRepBase::Destroy(rep);
    }
  }

private:
  void Unlock() {
    if (!mLocked)
      return;
    if (!mRep) {
      ShowAlert(kRefUnlockUnboundAlert);
    } else {
      --mRep->mLockCount;
      if (mRep->mLockCount < 0)
        ShowAlert(kRefLockCountAlert);
      if (mRep->mDeletePending && mRep->mLockCount <= 0)
        mRep->DeleteObject();
    }
    mLocked = 0;
  }

  RefRep<T> *mRep = nullptr;
  int16_t mLocked = 0;
};
