// placeholder until the image operations land
