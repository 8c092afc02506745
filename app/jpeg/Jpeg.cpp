// JPEG codec over libjpeg.
