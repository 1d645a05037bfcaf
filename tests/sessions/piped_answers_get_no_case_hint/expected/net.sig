Akr1c21 NA NA NA NA Gapdh NA NA NA NA 0 Binding 1
Akr1c22 NA NA NA NA Gapdh NA NA NA NA 0 Binding 2
AKR1C21 NA NA NA NA sea NA NA NA NA 0 Binding 3
Tpé NA NA NA NA sea NA NA NA NA 0 Binding 4
