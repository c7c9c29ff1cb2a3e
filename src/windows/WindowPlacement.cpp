// Where new windows go: by placement kind, relative to the last window of the
// same placement class or to a screen, then kept clear of the screen's edges.
#include <cmath>

#include "foundation/AssertionAlert.h"
#include "windows/Window.h"

namespace {

ScreenSource sScreens{ScreenCount, GetScreenRect};

struct ReferenceSearch {
  int32_t placementClass;
  Window *found;
};

int64_t IntersectionArea(const QV::Rect &r, const ScreenRect &s) {
  int64_t left = std::max<int64_t>(r.left, s.left), top = std::max<int64_t>(r.top, s.top);
  int64_t right = std::min<int64_t>(r.right, int64_t(s.left) + s.width);
  int64_t bottom = std::min<int64_t>(r.bottom, int64_t(s.top) + s.height);
  return right > left && bottom > top ? (right - left) * (bottom - top) : 0;
}

ScreenRect ScreenOrZero(int32_t i) {
  ScreenRect s{};
  if (!sScreens.get(i, &s))
    s = ScreenRect{};
  return s;
}

// The screen's available rectangle as a Rect.
QV::Rect Available(const ScreenRect &s) {
  QV::Rect a;
  QV::SetRect(&a, s.availLeft, s.availTop, s.availLeft + s.availWidth, s.availTop + s.availHeight);
  return a;
}

} // namespace

ScreenSource SetScreenSource(ScreenSource source) {
  ScreenSource old = sScreens;
  sScreens = source;
  return old;
}

bool GetSourceScreen(int32_t i, ScreenRect *screen) {
  return i >= 0 && i < sScreens.count() && sScreens.get(i, screen);
}

int32_t PlacementClass(int32_t type) {
  switch (type) {
  case 1:
  case 7:
  case 9:
    return 0;
  case 2:
  case 3:
  case 4:
  case 5:
  case 10:
    return 1;
  case 12:
    return 3;
  default:
    return 2;
  }
}

int32_t GetBestScreenNumForRect(const QV::Rect *r) {
  int32_t best = 0;
  int64_t bestArea = 0;
  double bestDistance = -1;
  for (int32_t i = 0; i < sScreens.count(); ++i) {
    ScreenRect s;
    if (!sScreens.get(i, &s))
      continue;
    int64_t area = IntersectionArea(*r, s);
    if (area > bestArea) {
      bestArea = area;
      best = i;
    } else if (bestArea == 0) {
      double distance = std::hypot(double(r->left - s.left), double(r->top - s.top));
      if (bestDistance < 0 || distance < bestDistance) {
        bestDistance = distance;
        best = i;
      }
    }
  }
  return best;
}

void ConstrainRectToAvoidDockEtc(QV::Rect *r, int32_t option) {
  int32_t screen = 0;
  if (option == 0 || option == 1) {
    screen = GetBestScreenNumForRect(r);
  } else if (option == 2 || option == 3) {
    QV::Rect corner;
    int16_t v = option == 2 ? r->top : static_cast<int16_t>(r->bottom - 1);
    QV::SetRect(&corner, r->left, v, r->left + 1, v + 1);
    screen = GetBestScreenNumForRect(&corner);
  }
  QV::Rect a = Available(ScreenOrZero(screen));
  int32_t width = r->right - r->left, height = r->bottom - r->top;
  int32_t left = r->left, top = r->top;
  if (option == 0 || option == 1) {
    auto fixLeft = [&] {
      if (left < a.left)
        left = a.left + 2;
    };
    auto fixBottom = [&] {
      if (top + height > a.bottom)
        top -= (top + height - a.bottom) + 2;
    };
    auto fixRight = [&] {
      if (left + width > a.right)
        left -= (left + width - a.right) + 2;
    };
    if (option == 0) {
      fixLeft();
      fixBottom();
      fixRight();
    } else {
      fixRight();
      fixBottom();
      fixLeft();
    }
    if (top < a.top + 25)
      top = a.top + 25;
    QV::SetRect(r, left, top, left + width, top + height);
    if (option == 1) {
      if (r->right > a.right)
        r->right = static_cast<int16_t>(a.right - 2);
      if (r->bottom > a.bottom)
        r->bottom = static_cast<int16_t>(a.bottom - 2);
    }
  } else if (option == 2) {
    if (r->bottom > a.bottom)
      r->bottom = static_cast<int16_t>(a.bottom - 2);
  } else if (option == 3) {
    if (r->top < a.top)
      r->top = static_cast<int16_t>(a.top + 2);
  }
}

bool LegalWindowPosition(const QV::Rect *r) {
  if (r->right - r->left < 20 || r->bottom - r->top < 20)
    return false;
  QV::Rect strip = *r;
  QV::InsetRect(&strip, 10, 10);
  strip.bottom = static_cast<int16_t>(strip.top + 10);
  for (int32_t i = 0; i < sScreens.count(); ++i) {
    ScreenRect s;
    if (!sScreens.get(i, &s))
      continue;
    QV::Rect a = Available(s), out;
    if (QV::SectRect(&strip, &a, &out))
      return true;
  }
  return false;
}

void WindowPlacement(QV::Rect *r, int32_t placement, Window::WindowType type) {
  if (!r) {
    DisplayRuntimeErrorAlert(kAssertionCode, kAssertionNumber, "../Common/ClassLib/window", 3205,
                             "rBounds", nullptr);
    return;
  }
  int32_t w = r->right - r->left, h = r->bottom - r->top;
  ReferenceSearch search{PlacementClass(type), nullptr};
  Window::IterateWindowList(
      [](Window *candidate, void *arg) {
        auto *s = static_cast<ReferenceSearch *>(arg);
        if (PlacementClass(candidate->GetType()) == s->placementClass)
          s->found = candidate;
        return false;
      },
      &search);
  QV::Rect ref{0, 0, 0, 0};
  if (search.found)
    search.found->GetWindowBounds(&ref);
  int32_t refW = ref.right - ref.left, refH = ref.bottom - ref.top;
  (void)refH;
  int32_t dh = 0, dv = 0;
  if (placement == 1 && !search.found)
    placement = 2;
  switch (placement) {
  case 0:
    dh = 4, dv = 100;
    break;
  case 1:
    dh = ref.left + (refW - w) / 2, dv = ref.top + 30;
    break;
  case 2:
  case 3:
  case 5: {
    ScreenRect s = ScreenOrZero(placement == 2 ? 0 : GetBestScreenNumForRect(&ref));
    int32_t d = placement == 5 ? 2 : 3;
    dh = s.left + (s.width - w) / 2, dv = s.top + (s.height - h) / d;
    break;
  }
  case 4: {
    bool fits = false;
    if (search.found) {
      QV::Rect a = Available(ScreenOrZero(GetBestScreenNumForRect(&ref)));
      fits = ref.right + 20 <= a.right && ref.bottom + 20 <= a.bottom;
    }
    if (fits)
      dh = ref.left + 20, dv = ref.top + 20;
    else
      dh = 10, dv = 50;
    break;
  }
  default:
    break;
  }
  QV::OffsetRect(r, static_cast<int16_t>(dh), static_cast<int16_t>(dv));
  ConstrainRectToAvoidDockEtc(r, 0);
}
