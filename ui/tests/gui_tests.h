// The GUI test classes, each registered by its own file.
#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <vector>

namespace guitest {

using TestFactory = std::function<std::unique_ptr<QObject>()>;
std::vector<TestFactory>& AllTests();

struct RegisterTest {
  explicit RegisterTest(TestFactory factory) { AllTests().push_back(std::move(factory)); }
};

}  // namespace guitest

#define GUI_TEST_CLASS(Class) \
  static ::guitest::RegisterTest register##Class([] { return std::unique_ptr<QObject>(new Class); })
