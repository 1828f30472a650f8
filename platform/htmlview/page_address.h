// Addresses of pages and pictures: "file://" and a device path, with an optional "#anchor".
// Links are resolved against the page they appear on, so that an edition's pages can refer to
// each other by bare file names wherever the edition is installed.
#pragma once

#include <string>
#include <string_view>

namespace htmlview {

// True for "file:" addresses (any case).
bool isFileAddress(std::string_view address);
// True when the text begins with a scheme ("mailto:", "http:", ...).
bool hasScheme(std::string_view address);

// The link as an address: absolute links as they are, "#name" on the base page, paths relative
// to the base page's folder, with "." and ".." worked out. A relative link on a page without a
// file address stays as it is. UTF-8 in and out.
std::string resolveLink(std::string_view base, std::string_view link);

// The address without its "#anchor", and the anchor alone (without '#').
std::string withoutFragment(std::string_view address);
std::string fragmentOf(std::string_view address);

// The device path a file address names ("%xx" decoded, '/' taken as '\'); empty when the
// address is not a file address.
std::u16string devicePathOf(std::string_view address);

} // namespace htmlview
