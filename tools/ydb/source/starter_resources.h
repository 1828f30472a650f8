// The resources every edition needs, written into a source folder for a publisher to rewrite: a help
// text with a paragraph under each anchor the screens jump to, a page for every home tile of both
// city letters, and the five pictures at the sizes the screens show.
#pragma once

#include <string>

#include <nlohmann/json.hpp>

// Writes help.html, html/ and pictures/ into `folder` (which exists) and sets `resources` to the
// list edition.json names them by, in the order the screens count them. `city` is shown on the
// pictures and the pages.
bool writeStarterResources(const std::string& folder, const std::string& city, nlohmann::json& resources,
                           std::string& error);
