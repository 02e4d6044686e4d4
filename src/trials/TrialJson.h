#pragma once
// Trials as JSON: the "trials" array of a project document, and the file beside an .ard project
// that holds them ({"format": "ardelon-trials", "version": 1, "trials": [...]}). A trial is
// {"name", "inputs": <the project document>, "run": {"seed", "cycles", "date", "version"},
// "costPerLane", "priced", "asphaltThickness", "verdicts": {"confidence"[, "designLifeYears"]},
// "conventionalDesign": [...], "percentileResponses": [...]}. Every number reads back bit for bit,
// so reading and writing again gives the same text.

#include <string>
#include <vector>

#include "project/ProjectFile.h"
#include "trials/Trial.h"

namespace ardelon {

// The array as compact JSON text (a project's `trials`); empty for no trials.
std::string trialsToText(const std::vector<Trial>& trials);
// Reads an array of trials; an empty text is no trials. Every field must be present with its
// type and unknown fields are refused; on failure `trials` is unchanged and the message names
// the field ("trials[1].run.seed: expected an integer").
FileResult trialsFromText(const std::string& text, std::vector<Trial>& trials);

// The file beside an .ard project, written as this text, and read back.
std::string trialsFileText(const std::vector<Trial>& trials);
FileResult trialsFromFileText(const std::string& text, std::vector<Trial>& trials);

}  // namespace ardelon
