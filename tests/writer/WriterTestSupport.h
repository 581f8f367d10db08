// Helpers for the writer tests: tables built from readable row texts, files read back.
#pragma once

#include <string>
#include <vector>

class CMyHyo;

// Fills the store with rows whose cells are separated by '|' (TAB inside the store).
void fillTable(CMyHyo& hyo, const std::vector<std::string>& rows);
// The file's bytes.
std::string fileBytes(const std::string& path);
