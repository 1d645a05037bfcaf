// Bringing a record into the cache ahead of its use. Loading a large network reads its tables
// at random millions of times, and most of the time goes into waiting for memory. A prefetch
// instruction would ask for the line without waiting, but on the virtual machines measured it
// is mostly dropped when the address is not in the translation cache, which for tables of
// hundreds of megabytes is nearly always. A plain read is never dropped, and a group of
// independent reads in a row proceed in parallel; so the loader reads what a group of records
// will need, one step for the whole group, before it uses it.
#pragma once

namespace seedweave {

// Reads the first byte of the object; the value is not used.
template <typename T>
inline void touch(const T& object) {
  static_cast<void>(*reinterpret_cast<const volatile char*>(&object));
}

}  // namespace seedweave
