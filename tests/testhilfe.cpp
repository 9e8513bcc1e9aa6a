#include "testhilfe.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>

Tempordner::Tempordner() {
  std::random_device zufall;
  for (;;) {
    pfad_ = std::filesystem::temp_directory_path() / ("mpmtest-" + std::to_string(zufall()));
    if (std::filesystem::create_directory(pfad_)) break;
  }
}

Tempordner::~Tempordner() {
  std::error_code fehler;
  std::filesystem::remove_all(pfad_, fehler);
}

void Tempordner::schreiben(const std::string& name, const std::string& inhalt) const {
  std::ofstream(datei(name), std::ios::binary) << inhalt;
}

std::string datei_lesen(const std::string& name) {
  std::ifstream datei(name, std::ios::binary);
  std::ostringstream s;
  s << datei.rdbuf();
  return s.str();
}

std::string beispieltext(const std::string& name, const std::string& aendern, const std::string& neu) {
  const std::filesystem::path pfad =
      std::filesystem::path(__FILE__).parent_path().parent_path() / "examples" / (name + ".mpm");
  std::string text = datei_lesen(pfad.string());
  EXPECT_FALSE(text.empty()) << pfad;
  const std::size_t i = aendern.empty() ? std::string::npos : text.find(aendern);
  EXPECT_TRUE(aendern.empty() || i != std::string::npos) << aendern;
  if (i != std::string::npos) text.replace(i, aendern.size(), neu);
  return text;
}

Testlauf::Testlauf(const std::string& eingabe) {
  ordner_.schreiben("lauf.mpm", eingabe);
  stream_start(ordner_.datei("lauf").c_str());
}

Testlauf::~Testlauf() {
  stream_stop();
}

std::string Testlauf::lesen(const std::string& endung) const {
  return datei_lesen(ordner_.datei("lauf." + endung));
}
