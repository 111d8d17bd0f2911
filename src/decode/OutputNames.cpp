#include "decode/OutputNames.h"

#include <algorithm>
#include <cctype>

namespace veltrix {

namespace {

bool EqualIgnoringCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

}  // namespace

std::string DeriveOutputName(const std::string& listingPath, const std::string& ext) {
  // Only a dot in the file-name part starts an extension.
  const std::size_t slash = listingPath.rfind('/');
  const std::size_t dot = listingPath.rfind('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return listingPath + "." + ext;
  const std::string after = listingPath.substr(dot + 1);
  if (after.size() > 3 || EqualIgnoringCase(after, ext)) return listingPath + "." + ext;
  return listingPath.substr(0, dot + 1) + ext;
}

ListingTemplate MakeListingTemplate(const std::optional<std::string>& dest, const std::string& sourceDirectory) {
  ListingTemplate listing;
  if (!dest) {
    listing.before = sourceDirectory;
    listing.after = ".TXT";
    listing.wildcards = 1;
    return listing;
  }
  const std::size_t star = dest->find('*');
  if (star == std::string::npos) {
    listing.before = *dest;
    return listing;
  }
  listing.before = dest->substr(0, star);
  listing.after = dest->substr(star + 1);
  listing.wildcards = 1 + static_cast<int>(std::count(listing.after.begin(), listing.after.end(), '*'));
  return listing;
}

std::string ListingPathFor(const ListingTemplate& listing, const std::string& sourceName) {
  if (listing.wildcards == 0) return listing.before;
  return listing.before + sourceName.substr(0, sourceName.find('.')) + listing.after;
}

}  // namespace veltrix
