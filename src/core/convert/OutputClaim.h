#pragma once
// A run's hold on its output root. Everything that can refuse the root is
// checked before anything in it is touched: the folder, a probe write, the
// lock, what a stopped or killed run left, the user's own files in the
// previous private/, the free space. The new private/ is then built in a
// staging folder beside the previous one and put in its place by two
// renames once it is complete; whatever ends the run before that leaves the
// previous private/ as it was.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "convert/Host.h"
#include "convert/OutputLock.h"
#include "model/OutputLayout.h"

namespace tessel {

class OutputClaim {
 public:
  OutputClaim(const OutputLayout& layout, Host& host) : layout_(layout), host_(host) {}
  ~OutputClaim() { abandon(); }
  OutputClaim(const OutputClaim&) = delete;
  OutputClaim& operator=(const OutputClaim&) = delete;

  // Claims the root for a new output of about `bytesNeeded` bytes. Returns
  // the refusal (nothing touched), or empty: the lock is held and an empty
  // staging folder waits. `notes` gets a line for each thing a stopped or
  // killed run left and this claim cleaned up.
  std::string claim(bool force, std::uint64_t bytesNeeded, std::vector<std::string>& notes);

  // The layout the run writes into: its private/ is the staging folder.
  const OutputLayout& staged() const { return staged_; }

  // Puts the staged private/ in place of the previous one, which goes, and
  // the staged run record and marker (written by the run) in place of the
  // previous ones; removes the preview page of the previous private/. Returns the failure (the
  // previous private/ is then back in place), or empty. `notes` as above.
  std::string commit(std::vector<std::string>& notes);

  // Removes the staging folder (a run that did not finish) and lets the root
  // go. Idempotent.
  void abandon();

 private:
  std::string checkRoot();
  std::string cleanLeftovers(std::vector<std::string>& notes);

  OutputLayout layout_;
  OutputLayout staged_;
  Host& host_;
  OutputLock lock_;
  bool staging_ = false;  // a staging folder of this claim exists
};

}  // namespace tessel
