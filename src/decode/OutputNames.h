// Names of the listing and the side files.
#pragma once

#include <optional>
#include <string>

namespace veltrix {

// The error log (and other derived names): the listing path with its
// extension replaced, or `ext` appended when it has none, a long one, or the
// same one. job.txt -> job.LOG, job.log -> job.log.LOG, job -> job.LOG.
std::string DeriveOutputName(const std::string& listingPath, const std::string& ext);

// The listing name template: `dest` with at most one '*'.
struct ListingTemplate {
  std::string before;  // text before the '*' (all of it without one)
  std::string after;
  int wildcards = 0;   // 0 or 1; more is refused by the driver
};

ListingTemplate MakeListingTemplate(const std::optional<std::string>& dest, const std::string& sourceDirectory);

// The listing path for a source file name: the base name (up to the first
// '.') in place of the '*'.
std::string ListingPathFor(const ListingTemplate& listing, const std::string& sourceName);

}  // namespace veltrix
