// layer drawing
