#include "plots/ip_page.h"

#include <gtest/gtest.h>

#include <string>

namespace vesk {
namespace {

TEST(IpPage, AddressFromPage) {
  struct Case {
    std::string page;
    std::string address;
  };
  for (const Case& c : {
           Case{"<html><body>Current IP Address: 203.0.113.7</body></html>\r\n", "203.0.113.7"},
           Case{"Current IP Address: 198.51.100.2", "198.51.100.2"},  // no "<": to the end
           Case{"x Current IP Address: 1.2.3.4<br>Current IP Address: 5.6.7.8<", "1.2.3.4"},
           Case{"no marker on this page<b>", "age"},                   // from the 20th character
           Case{"<p>current ip address: 1.2.3.4</p>", "ss: 1.2.3.4"},  // the marker's case counts
           Case{"short page", ""},
           Case{"", ""},
       }) {
    EXPECT_EQ(AddressFromPage(c.page), c.address) << c.page;
  }
}

}  // namespace
}  // namespace vesk
