A B 0 1 x 2 C 3 4 9 0 T
