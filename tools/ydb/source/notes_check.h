// The notes of a firm's comment as the business card reads them: "|NN| text |$note|", NN the first
// two characters of one of the firm's rubric codes. Notes the card can never show are worth a word
// to the publisher, though the handheld takes the comment as it is.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// What is wrong with the notes of `comment` (code page 1251), one UTF-8 sentence per problem;
// `rubricCodes` are the firm's rubric codes (code page 1251).
std::vector<std::string> noteProblems(std::string_view comment, const std::vector<std::string>& rubricCodes);
