// sensor_log.cpp - reads a sensor log and reports the range of the readings.
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

struct Reading {
  std::string day;
  double celsius;
};

// Reads "day value" pairs until the first malformed one.
std::vector<Reading> readLog(const std::string& path) {
  std::vector<Reading> readings;
  std::ifstream in(path);
  std::string day;
  double value;
  while (in >> day >> value) {
    readings.push_back({day, value});
  }
  return readings;
}

/* Prints the lowest and the highest reading.
   Expects at least one reading. */
void printRange(const std::vector<Reading>& readings) {
  double low = readings.front().celsius;
  double high = low;
  for (const Reading& r : readings) {
    if (r.celsius < low) low = r.celsius;
    if (r.celsius > high) high = r.celsius;
  }
  std::cout << "range: " << low << " .. " << high << "\n";
}

// The mean of all readings.
double average(const std::vector<Reading>& readings) {
  double sum = 0;
  for (const Reading& r : readings) sum += r.celsius;
  return sum / readings.size();
}

int main(int argc, char** argv) {
  if (argc < 2) {
    std::cerr << "usage: sensor_log FILE\n";
    return 2;
  }
  std::vector<Reading> readings = readLog(argv[1]);
  printRange(readings);
  std::cout << "average: " << average(readings) << "\n";
  return 0;
}
