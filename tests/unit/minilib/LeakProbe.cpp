// Leaks one Callback on purpose; the instance counter reports it at exit.
#include "minilib/Callback.h"

int main() {
  new minilib::Callback<void()>([] {});
  return 0;
}
