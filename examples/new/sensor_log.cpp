// sensor_log.cpp - reads a sensor log and reports the range of the readings.
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

struct Reading {
  std::string day;
  double celsius;
};

// Reads "day value" lines; blank lines and lines starting with '#' are skipped.
std::vector<Reading> readLog(const std::string& path) {
  std::vector<Reading> readings;
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;  // a comment or a blank line
    std::string day;
    double value = 0;
    std::istringstream fields(line);
    if (fields >> day >> value) readings.push_back({day, value});
  }
  return readings;
}

// The mean of all readings.
double average(const std::vector<Reading>& readings) {
  double sum = 0;
  for (const Reading& r: readings) sum+=r.celsius;
  return sum / readings.size();
}

/* Prints the lowest and the highest reading.
   An empty log says so instead. */
void printRange(const std::vector<Reading>& readings) {
  if (readings.empty()) {
    std::cout << "range: no readings\n";
    return;
  }
  double low = readings.front().celsius;
  double high = low;
  for (const Reading& r : readings) {
    if (r.celsius < low) low = r.celsius;
    if (r.celsius > high) high = r.celsius;
  }
  std::cout << "range: " << low << " .. " << high << "\n";
}

int main(int argc, char** argv) {
  if (argc < 2) {
    std::cerr << "usage: sensor_log LOGFILE\n";
    return 2;
  }
  std::vector<Reading> readings = readLog(argv[1]);
  printRange(readings);
  std::cout << "average: " << average(readings) << "\n";
}
