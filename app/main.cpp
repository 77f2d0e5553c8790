#include "platform/afx/afx.h"

int main() { return AfxMain(); }
